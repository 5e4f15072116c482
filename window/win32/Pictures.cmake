# How the Win32 window's pictures are rendered from the SVG sources of
# window/artwork. Which pictures there are, their sources, design sizes and
# grounds come from the design table (window/Design.cpp).
#
# Every picture is rendered at its design size times each scale the window
# is drawn at on a monitor of 96, 120, 144, 168 or 192 dots per inch; the
# window scales the smallest rendering that covers the size it draws a picture
# at once, with bicubic filtering, so a picture is never enlarged at those
# scales and stays as sharp as the Linux window's, drawn from the SVG itself.
# The skin, drawn at the design size times the scale, is drawn as rendered. Pictures on a transparent ground (the page icons) are drawn at marker
# sizes, from a few pixels up: they are rendered in steps of about 1/1.41 down
# to a dozen pixels, and a marker is scaled from the smallest rendering that
# covers it, so its thin lines stay crisp.
set(QUARVEL_WIN32_SCALES_PERCENT 100 125 150 175 200)
# The arrows stretch their pictures up to 6 % beyond their design size (110 x
# 38 shown at 116 x 32): one rendering above the largest scale covers them.
set(QUARVEL_WIN32_HEADROOM_PERCENT 250)
set(QUARVEL_WIN32_STEP_PERMILLE 707)
set(QUARVEL_WIN32_SMALLEST_STEP 12)
# The executable's icon: the logo centred on square canvases, at the sizes of
# the small (16) and big (32) icons at each of those scales, and for Explorer.
set(QUARVEL_WIN32_ICON_SIZES 16 20 24 28 32 40 48 56 64 256)
