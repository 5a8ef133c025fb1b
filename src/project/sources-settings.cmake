# Project settings dialog and the template check.
list(APPEND QLOOM_PROJECT_LOGIC
    SettingsRules.cpp
)
list(APPEND QLOOM_PROJECT_GUI
    TfrmProjectSettings.cpp
    TfrmProjectSettings.ui
    TfrmTemplateInfo.cpp
    TfrmTemplateInfo.ui
)
