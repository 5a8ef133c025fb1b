# Qt-free helpers of the shell and project windows.
set(QLOOM_PROJECT_LOGIC
    ErrorText.cpp
)
# Windows and Qt glue.
set(QLOOM_PROJECT_GUI
    MessageBox.cpp
)
