# The pictures the Win32 window draws, rendered from the SVG sources of
# window/artwork at build time and embedded as RCDATA resources.
#
# One row a picture: its name, its source, its ground (opaque pictures are
# rendered on white, as the Qt window renders them), then every size it is
# rendered at, width x height in pixels. The first size is the design size;
# the others are the sizes the window draws it at. The window scales a
# picture drawn at any other size from the smallest rendering that covers it,
# so the page icons come in steps of about 1.4 down to marker size. Button
# faces are scaled from their design size, as the Linux window draws them:
# rendered small, their lettering would be hinted to other shapes.
set(_face "228x56")
set(_portrait "480x680 340x482 240x340 170x241 120x170 85x120 60x85 42x60 30x42 21x30 15x21")
set(_landscape "680x480 482x340 340x240 241x170 170x120 120x85 85x60 60x42 42x30 30x21 21x15")
set(QUARVEL_WIN32_PICTURES
  "skin           skin.svg           opaque      820x559"
  "logo           logo.svg           opaque      23x15"
  "tReflectUp     reflect-up.svg     opaque      ${_face}"
  "tReflectDown   reflect-down.svg   opaque      ${_face}"
  "tDuplicateUp   duplicate-up.svg   opaque      ${_face}"
  "tDuplicateDown duplicate-down.svg opaque      ${_face}"
  "tRefreshUp     refresh-up.svg     opaque      ${_face}"
  "tRefreshDown   refresh-down.svg   opaque      ${_face}"
  "tForgetUp      forget-up.svg      opaque      ${_face}"
  "tForgetDown    forget-down.svg    opaque      ${_face}"
  "tArrUp0        arrow-h-pale.svg   opaque      110x38 116x32"
  "tArrDwn0       arrow-h-vivid.svg  opaque      110x38 116x32"
  "tArrUp90       arrow-v-pale.svg   opaque      38x110 33x116"
  "tArrDwn90      arrow-v-vivid.svg  opaque      38x110 33x116"
  "page0          page0.svg          transparent ${_portrait}"
  "page90         page90.svg         transparent ${_landscape}"
  "page180        page180.svg        transparent ${_portrait}"
  "page270        page270.svg        transparent ${_landscape}")
# The executable's icon: the logo centred on square canvases.
set(QUARVEL_WIN32_ICON_SIZES 16 24 32 48 256)
