# How the Win32 window's pictures are rendered from the SVG sources of
# window/artwork. Which pictures there are, their sources, design sizes and
# grounds come from the design table (window/Design.cpp).
#
# Every picture is rendered at its design size; the window scales it once,
# with bicubic filtering, to the size it draws it at, as the Linux window
# does. Pictures on a transparent ground (the page icons) are drawn at marker
# sizes, from a few pixels up: they are rendered in steps of about 1/1.41 down
# to a dozen pixels, and a marker is scaled from the smallest rendering that
# covers it, so its thin lines stay crisp.
set(QUARVEL_WIN32_STEP_PERMILLE 707)
set(QUARVEL_WIN32_SMALLEST_STEP 12)
# The executable's icon: the logo centred on square canvases.
set(QUARVEL_WIN32_ICON_SIZES 16 24 32 48 256)
