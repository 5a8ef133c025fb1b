# HTML fragment tools: fragment builders, picture handling, the three dialogs and their controller.
list(APPEND QLOOM_EDITOR_LOGIC
    HtmlFragments.cpp
    ImageCopy.cpp
    JpegDecoder.cpp
)
