# Preview window, title commands from the page, script-error log.
list(APPEND QLOOM_PREVIEW_LOGIC
    PreviewLocation.cpp
    PreviewScroll.cpp
    ScriptErrorLog.cpp
    TitleCommand.cpp
)
list(APPEND QLOOM_PREVIEW_GUI
    PreviewController.cpp
    PreviewPage.cpp
    TfrmBrowser.cpp
)
