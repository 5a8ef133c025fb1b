#pragma once

#include "gui/common/ProjectSessionApi.h"
#include "gui/common/QtColor.h"
#include "model/AccessibilityCheck.h"
#include "model/Menu.h"
#include "model/Project.h"

#include <QSignalBlocker>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class PropertyEditor;
}

class QAbstractButton;
class QCheckBox;
class QPlainTextEdit;

namespace qloom::gui {

class ColorSwatch;
class UpDownControl;

// The menu property editor of the main window: the menu list, the four property tabs and the
// HTML tool buttons, bound to the selected row of the menu table. Every user edit goes to the
// session at once; all but "Float" mark the preview stale. It follows the session: a new
// project, a change it did not make itself (a drag, undo, a menu added) and a new selection are
// shown as they arrive. The program's own writes into the fields run with their signals blocked.
class PropertyEditor final : public QWidget {
    Q_OBJECT
public:
    // The buttons over the HTML tabs; their fragment dialogs live in HtmlTools.
    struct HtmlToolButtons {
        QAbstractButton* addLineBreak;
        QAbstractButton* addText;
        QAbstractButton* addLink;
        QAbstractButton* addImage;
    };

    explicit PropertyEditor(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~PropertyEditor() override;

    void showMenuProperties(int32_t index);
    void setEditingEnabled(bool enabled);

    // Keeps the menu list's rows ("Menu 1" ...) in step with the table's row count.
    void syncMenuList();
    // Empties the list and fills it again from the table (a project was opened or created).
    void rebuildMenuList();

    // Puts the editor's controls into the window's Tab chain right after `before`: the menu
    // list, the tabs (with the active page's controls), then the HTML tool buttons.
    void placeInTabOrderAfter(QWidget* before);

    HtmlToolButtons htmlToolButtons() const;
    // The HTML text box of the active tab; none on "Position & Style" and "Color".
    QPlainTextEdit* activeHtmlEdit() const;

    // Shows the tab and focuses the control where a finding of the checks is fixed. In an HTML
    // box, `offset` (a byte offset in the selected menu's HTML, -1 for none) places the cursor.
    void showFixPlace(FixPlace place, int32_t offset = -1);

    // Test seam: replaces the platform colour dialog.
    void setColorPicker(ColorPicker picker) { colorPicker_ = std::move(picker); }

    // Handlers, public so the main window and tests can name them.
    void onCaptionHtmlChanged();
    void onBodyHtmlChanged();
    void onActivationClicked();
    void onFloatingClicked();
    void onOrientationClicked();
    void chooseColor(ColorSwatch* swatch);
    void onTransparentToggled(QCheckBox* box);
    void onTabChanged(int index);
    void onMenuListPressed();
    void onMenuListReleased();
    void onMenuListKeyReleased();

Q_SIGNALS:
    // Delete was pressed in the menu list.
    void deleteRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct NumberBox;
    struct ColorRow;

    // Puts the form's controls into layouts, so the list and the HTML boxes grow with the
    // window and every caption has the room the desktop's font needs.
    void layOut();
    bool canStore() const;
    // The session's news: shown unless this editor made the change itself.
    void onProjectReplaced();
    void onMenusChanged(const ProjectEdit& edit);
    void onCaptionSwapped(int32_t row);
    // Blocks the change signals of every field while the program writes into them.
    std::vector<QSignalBlocker> blockFieldSignals();
    // Records the selected row's new value in the project history; typing folds into one step.
    void store(int32_t Menu::*field, int32_t value, bool typing);
    void store(std::string Menu::*field, std::string value, bool typing);
    void onNumberBoxEdited(NumberBox& box);
    void spinStep(NumberBox& box, int delta);
    void setHtmlText(QPlainTextEdit* edit, const std::string& html);
    int selectedMenuRow() const;
    void keepShownRowSelected();

    std::unique_ptr<Ui::PropertyEditor> ui;
    ProjectSessionApi& session_;
    ColorPicker colorPicker_;

    std::vector<NumberBox> numbers_;
    std::vector<ColorRow> colors_;
    bool forwardingListEvent_ = false;
    bool storing_ = false; // an edit of this editor is on its way through the session
};

} // namespace qloom::gui
