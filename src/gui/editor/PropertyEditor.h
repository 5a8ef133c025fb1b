#pragma once

#include "script/ScriptWriter.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace qloom::gui {

class ColorSwatch;
class MainWindowOps;
class UpDownControl;

// The menu property editor of the main window: binds the controls found by objectName in the
// main window to the selected row of the menu table. Every user edit is stored at once; all but
// "Float" mark the preview stale. The program's own writes run under SuppressChange.
class PropertyEditor : public QObject {
    Q_OBJECT
public:
    // Asks for a colour starting from `initial`; nullopt when the user cancels.
    using ColorPicker =
        std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    PropertyEditor(QWidget* mainWindow, MainWindowOps& ops);
    ~PropertyEditor() override;

    void showMenuProperties(int32_t index);
    void setEditingEnabled(bool enabled);

    // Keeps the menu list's rows ("Menu 1" ...) in step with the table's row count.
    void syncMenuList();

    // For SaveScript: shows the selected row's swapped caption without storing it as an edit.
    CaptionSwapHook captionSwapHook();

    // Test seam: replaces the platform colour dialog.
    void setColorPicker(ColorPicker picker) { colorPicker_ = std::move(picker); }

    // Handlers, public so the main window and tests can name them.
    void txtCapHTMLChange();
    void txtMenuHTMLChange();
    void radActivateOnClick();
    void chkFloatClick();
    void radOrientationClick();
    void getColor(ColorSwatch* swatch);
    void setTransparentColor(QCheckBox* box);
    void tabPropChange(int index);
    void listMenusMouseDown();
    void listMenusMouseUp();
    void listMenusKeyUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct NumberBox;
    struct ColorRow;

    template <class T> T* need(const char* name) const;
    bool canStore() const;
    void numberBoxChange(NumberBox& box);
    void spinStep(NumberBox& box, int delta);
    void setHtmlText(QPlainTextEdit* edit, const std::string& html);
    int listSelectedRow() const;
    void keepShownRowSelected();

    QWidget* main_;
    MainWindowOps& ops_;
    ColorPicker colorPicker_;

    std::vector<NumberBox> numbers_;
    std::vector<ColorRow> colors_;
    QPlainTextEdit* txtCapHTML_ = nullptr;
    QPlainTextEdit* txtMenuHTML_ = nullptr;
    QGroupBox* radActivateOn_ = nullptr;
    std::array<QRadioButton*, 2> activateItems_{};
    QCheckBox* chkFloat_ = nullptr;
    QRadioButton* radHorizontal_ = nullptr;
    QRadioButton* radVertical_ = nullptr;
    QTabWidget* tabProp_ = nullptr;
    QWidget* panHTMLTools_ = nullptr;
    std::vector<QAbstractButton*> htmlButtons_;
    QListWidget* listMenus_ = nullptr;
    bool forwardingListEvent_ = false;
};

} // namespace qloom::gui
