#include "gui/shell/internal/SiteFolderBox.h"

#include "gui/common/Prompter.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/UserSettings.h"
#include "gui/preview/PreviewSandbox.h"
#include "model/Messages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qloom::gui {

SiteFolderBox::SiteFolderBox(Prompter& prompter, QWidget* parent)
    : QGroupBox(uiText(msg::kSiteFolderTitle), parent), prompter_(prompter),
      text_(new QLineEdit(this)), choose_(new QPushButton(uiText(msg::kSiteFolderChoose), this)),
      reset_(new QPushButton(uiText(msg::kSiteFolderReset), this)) {
    auto* note = new QLabel(uiText(msg::kSiteFolderNote), this);
    note->setWordWrap(true);
    text_->setReadOnly(true);
    text_->setPlaceholderText(uiText(msg::kSiteFolderDefault));
    text_->setAccessibleName(uiText(msg::kSiteFolderTitle));
    auto* layout = new QGridLayout(this);
    layout->addWidget(note, 0, 0, 1, 3);
    layout->addWidget(text_, 1, 0);
    layout->addWidget(choose_, 1, 1);
    layout->addWidget(reset_, 1, 2);
    picker_ = [](QWidget* parent, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, uiText(msg::kSiteFolderTitle), start);
    };
    connect(choose_, &QPushButton::clicked, this, &SiteFolderBox::onChooseSiteFolderClicked);
    connect(reset_, &QPushButton::clicked, this, &SiteFolderBox::onProjectFolderClicked);
}

void SiteFolderBox::load(const QString& projectFolder) {
    project_ = projectFolder;
    show(project_.isEmpty()
             ? QString()
             : UserSettings::value(UserSettings::siteFolderKey(project_)).toString());
}

bool SiteFolderBox::save(QString* store) const {
    if (project_.isEmpty())
        return true;
    return UserSettings::setValue(UserSettings::siteFolderKey(project_), folder_, store);
}

void SiteFolderBox::show(const QString& folder) {
    folder_ = folder;
    text_->setText(QDir::toNativeSeparators(folder));
    reset_->setEnabled(!folder.isEmpty());
}

void SiteFolderBox::onChooseSiteFolderClicked() {
    if (project_.isEmpty() || !picker_)
        return;
    QDir start(project_);
    start.cdUp();
    const QString chosen = picker_(this, folder_.isEmpty() ? start.path() : folder_);
    if (chosen.isEmpty())
        return;
    const QString site = QFileInfo(chosen).canonicalFilePath();
    const QString project = QFileInfo(project_).canonicalFilePath();
    const QString home = QFileInfo(QDir::homePath()).canonicalFilePath();
    switch (CheckSiteFolder(site.toStdString(), project.toStdString(), home.toStdString())) {
    case SiteFolderVerdict::Ok:
        // The project folder itself is the default: nothing to remember.
        show(site == project ? QString() : site);
        return;
    case SiteFolderVerdict::Outside:
        prompter_.message(this, toQ(msg::Format(msg::kSiteFolderOutside,
                                                fromQ(QDir::toNativeSeparators(project_)))));
        return;
    case SiteFolderVerdict::TooWide:
        prompter_.message(this, uiText(msg::kSiteFolderTooWide));
        return;
    }
}

void SiteFolderBox::onProjectFolderClicked() {
    show(QString());
}

} // namespace qloom::gui
