# Shell, start dialog, folder chooser, main window.
list(APPEND QLOOM_PROJECT_LOGIC
    ErrorText.cpp
)
list(APPEND QLOOM_PROJECT_GUI
    MessageBox.cpp
)
