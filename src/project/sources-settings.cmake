# Project settings dialog and the template check.
list(APPEND QLOOM_PROJECT_LOGIC
    SettingsRules.cpp
)
