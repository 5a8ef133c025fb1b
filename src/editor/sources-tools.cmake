# HTML fragment tools: fragment builders, picture handling, the three dialogs and their controller.
list(APPEND QLOOM_EDITOR_LOGIC
    HtmlFragments.cpp
    ImageCopy.cpp
    JpegDecoder.cpp
)
list(APPEND QLOOM_EDITOR_GUI
    HelpKeyFilter.cpp
)
list(APPEND QLOOM_EDITOR_GUI
    HtmlTools.cpp
    PicturePreview.cpp
    TfrmAddImage.cpp
    TfrmAddImage.ui
    TfrmAddText.cpp
    TfrmAddText.ui
    TfrmAddURL.cpp
    TfrmAddURL.ui
)
list(APPEND QLOOM_EDITOR_GUI
    DialogPlacement.cpp
    ToolDialog.cpp
    SpinBinding.cpp
)
