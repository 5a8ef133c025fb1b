#include "gui/editor/HtmlTools.h"

#include "gui/common/EditorRules.h"
#include "gui/common/MainWindowOps.h"
#include "gui/common/TextConv.h"
#include "gui/editor/HtmlFragments.h"
#include "gui/editor/TfrmAddImage.h"
#include "gui/editor/TfrmAddText.h"
#include "gui/editor/TfrmAddURL.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextCursor>

namespace qloom::gui {

namespace {
constexpr int kCaptionTab = 1;
constexpr int kMenuTab = 2;
} // namespace

HtmlTools::HtmlTools(MainWindowOps& ops, QWidget* mainWindow)
    : QObject(mainWindow), ops_(ops), main_(mainWindow),
      frmAddText_(new TfrmAddText(ops, mainWindow)), frmAddURL_(new TfrmAddURL(ops, mainWindow)),
      frmAddImage_(new TfrmAddImage(ops, mainWindow)) {
    const auto insert = [this](const std::string& fragment) { InsertHtml(fragment); };
    frmAddText_->setInserter(insert);
    frmAddURL_->setInserter(insert);
    frmAddImage_->setInserter(insert);
}

HtmlTools::~HtmlTools() = default;

void HtmlTools::connectButtons() {
    const auto bind = [this](const char* name, void (HtmlTools::*handler)()) {
        if (auto* button = main_->findChild<QAbstractButton*>(QString::fromLatin1(name)))
            connect(button, &QAbstractButton::clicked, this, handler);
    };
    bind("btnAddNEWLINE", &HtmlTools::btnAddNEWLINEClick);
    bind("btnAddText", &HtmlTools::btnAddTextClick);
    bind("btnAddURL", &HtmlTools::btnAddURLClick);
    bind("btnAddimage", &HtmlTools::btnAddimageClick);
}

QPlainTextEdit* HtmlTools::activeTarget() const {
    auto* tabs = main_->findChild<QTabWidget*>(QStringLiteral("tabProp"));
    if (!tabs)
        return nullptr;
    if (tabs->currentIndex() == kCaptionTab)
        return main_->findChild<QPlainTextEdit*>(QStringLiteral("txtCapHTML"));
    if (tabs->currentIndex() == kMenuTab)
        return main_->findChild<QPlainTextEdit*>(QStringLiteral("txtMenuHTML"));
    return nullptr;
}

void HtmlTools::InsertHtml(const std::string& fragment) {
    QPlainTextEdit* target = activeTarget();
    if (!target)
        return;
    QTextCursor cursor = target->textCursor();
    // The selection stays: the fragment goes in front of it.
    if (cursor.hasSelection())
        cursor.setPosition(cursor.selectionStart());
    // The text box works with single line breaks; its change handler stores them as CR LF.
    cursor.insertText(toQ(HtmlToEditorText(fragment)) + QLatin1Char('\n'));
    target->setTextCursor(cursor);
    target->setFocus();
}

template <class Dialog> void HtmlTools::runDialog(Dialog& dialog) {
    ops_.SetHelpButtonEnabled(false);
    dialog.clearEntries();
    dialog.exec();
    ops_.SetHelpButtonEnabled(true);
}

void HtmlTools::btnAddNEWLINEClick() {
    InsertHtml(std::string(kNewLineFragment));
}

void HtmlTools::btnAddTextClick() {
    runDialog(*frmAddText_);
}

void HtmlTools::btnAddURLClick() {
    runDialog(*frmAddURL_);
}

void HtmlTools::btnAddimageClick() {
    runDialog(*frmAddImage_);
}

} // namespace qloom::gui
