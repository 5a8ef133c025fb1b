# Property editor: the selected menu's controls, spin arrows and colour swatches.
list(APPEND QLOOM_EDITOR_LOGIC
    EditorRules.cpp
    SuppressChange.cpp
)
list(APPEND QLOOM_EDITOR_GUI
    ColorSwatch.cpp
    PlainText.cpp
    PropertyEditor.cpp
    UpDownControl.cpp
)
