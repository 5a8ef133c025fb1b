#include "MainFixture.h"

#include "gui/common/ColorSwatch.h"
#include "gui/common/TextConv.h"
#include "gui/common/UpDownControl.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qloom::gui {
namespace {

template <class T> T* Make(QWidget* parent, const char* name, const char* text = nullptr) {
    T* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    if constexpr (std::is_base_of_v<QAbstractButton, T> || std::is_base_of_v<QLabel, T>) {
        if (text)
            widget->setText(QString::fromLatin1(text));
    }
    return widget;
}

void AddNumberBox(QWidget* page, QLayout* layout, const char* label, const char* edit,
                  const char* spin, const char* initial) {
    auto* caption = Make<QLabel>(page, "lbl", label);
    auto* box = Make<QLineEdit>(page, edit);
    box->setText(QString::fromLatin1(initial));
    caption->setBuddy(box);
    layout->addWidget(caption);
    layout->addWidget(box);
    layout->addWidget(Make<UpDownControl>(page, spin));
}

} // namespace

MainFixture::MainFixture(bool withPreview) {
    auto* layout = new QVBoxLayout(this);
    auto* list = Make<QListWidget>(this, "listMenus");
    layout->addWidget(list);
    auto* tabs = Make<QTabWidget>(this, "tabProp");
    layout->addWidget(tabs);

    auto* position = new QWidget;
    auto* posLayout = new QVBoxLayout(position);
    AddNumberBox(position, posLayout, "Left:", "txtLeft", "UpDown_Left", "0");
    AddNumberBox(position, posLayout, "Top:", "txtTop", "UpDown_Top", "0");
    AddNumberBox(position, posLayout, "Width:", "txtWidth", "UpDown_Width", "1");
    AddNumberBox(position, posLayout, "Caption Height:", "txtCapHeight", "UpDown_CapHeight", "1");
    auto* activate = Make<QGroupBox>(position, "radActivateOn");
    auto* activateLayout = new QVBoxLayout(activate);
    activateLayout->addWidget(Make<QRadioButton>(activate, "radMouseOver", "Mouse Over"));
    activateLayout->addWidget(Make<QRadioButton>(activate, "radMouseClick", "Mouse Click"));
    activate->findChild<QRadioButton*>(QStringLiteral("radMouseOver"))->setChecked(true);
    posLayout->addWidget(activate);
    posLayout->addWidget(Make<QCheckBox>(position, "chkFloat", "Float"));
    auto* orientation = Make<QGroupBox>(position, "grpOrientation");
    auto* orientationLayout = new QVBoxLayout(orientation);
    auto* horizontal = Make<QRadioButton>(orientation, "radHorizontal", "Horizontal");
    horizontal->setChecked(true);
    orientationLayout->addWidget(horizontal);
    orientationLayout->addWidget(Make<QRadioButton>(orientation, "radVertical", "Vertical"));
    posLayout->addWidget(orientation);
    tabs->addTab(position, QStringLiteral("Position && Style"));

    auto* caption = new QWidget;
    (new QVBoxLayout(caption))->addWidget(Make<QPlainTextEdit>(caption, "txtCapHTML"));
    tabs->addTab(caption, QStringLiteral("Caption HTML"));
    auto* body = new QWidget;
    (new QVBoxLayout(body))->addWidget(Make<QPlainTextEdit>(body, "txtMenuHTML"));
    tabs->addTab(body, QStringLiteral("Menu HTML"));

    auto* color = new QWidget;
    auto* colorLayout = new QVBoxLayout(color);
    const char* rows[][3] = {{"lblCaptionColor", "panCaptionColor", "chkTranspCC"},
                             {"lblMenuColor", "panMenuColor", "chkTranspCM"},
                             {"lblOwnerColor", "panOwnerColor", "chkTranspCO"}};
    for (auto& row : rows) {
        colorLayout->addWidget(Make<QLabel>(color, row[0], "Color:"));
        colorLayout->addWidget(Make<ColorSwatch>(color, row[1]));
        colorLayout->addWidget(Make<QCheckBox>(color, row[2], "transparent"));
    }
    tabs->addTab(color, QStringLiteral("Color"));

    auto* tools = Make<QWidget>(this, "panHTMLTools");
    auto* toolsLayout = new QHBoxLayout(tools);
    for (const char* name : {"btnAddNEWLINE", "btnAddText", "btnAddURL", "btnAddimage"})
        toolsLayout->addWidget(Make<QPushButton>(tools, name, name));
    layout->addWidget(tools);

    layout->addWidget(Make<QPushButton>(this, "btnShowPreview", "Show Preview"));
    layout->addWidget(Make<QPushButton>(this, "btnUpdatePreview", "Update Preview"));
    layout->addWidget(Make<QCheckBox>(this, "chkStayOnTop", "on Top"));
    auto* errors = Make<QPlainTextEdit>(this, "txtJS_Errors");
    errors->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(errors);

    editor = new PropertyEditor(this, *this);
    if (withPreview) {
        preview = new PreviewController(this, *this);
        preview->setCaptionSwapHook(editor->captionSwapHook());
    }
    editor->setEditingEnabled(false);
}

MainFixture::~MainFixture() = default;

void MainFixture::showMenuProperties(int32_t row) {
    editor->showMenuProperties(row);
}

void MainFixture::setEditingEnabled(bool enabled) {
    editor->setEditingEnabled(enabled);
}

void MainFixture::refreshPreview() {
    if (preview)
        preview->refreshPreview();
}

void MainFixture::scrollPreviewTo(int32_t row) {
    if (preview)
        preview->scrollPreviewTo(row);
}

void MainFixture::selectInPreview(int32_t row) {
    selectCalls.push_back(row);
    if (preview) {
        preview->selectInPreview(row);
    } else {
        project_.table.SelectedMenu = row;
        editor->showMenuProperties(row);
    }
}

void MainFixture::markPreviewStale() {
    ++staleCalls;
    if (preview)
        preview->markPreviewStale();
}

void MainFixture::markPreviewCurrent() {
    if (preview)
        preview->markPreviewCurrent();
}

bool MainFixture::report(const Status& status) {
    if (!status.ok)
        reports.append(toQ(status.message));
    return status.ok;
}

void MainFixture::addMenus(int count, int selected) {
    for (int i = 0; i < count; ++i)
        AddMenu(project_.table);
    project_.table.SelectedMenu = selected;
    editor->setEditingEnabled(true);
    editor->showMenuProperties(selected);
}

} // namespace qloom::gui
