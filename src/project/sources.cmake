# Shell, start dialog, folder chooser, main window.
list(APPEND QLOOM_PROJECT_LOGIC
    BrowserCheck.cpp
    ByteText.cpp
    ErrorText.cpp
    ProjectFolders.cpp
    StatusLine.cpp
)
list(APPEND QLOOM_PROJECT_GUI
    BusyCursor.cpp
    DesktopShell.cpp
    GuardedApplication.cpp
    MessageBox.cpp
    ProgramIcon.cpp
    TfrmFinilizedOK.cpp
    TfrmMain.cpp
    TfrmSelFolder.cpp
    TfrmStart.cpp
)
