#include "gui/common/FontList.h"

#include "gui/common/SettingsRules.h"
#include "gui/common/TextConv.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QPalette>

namespace qloom::gui {

void FillFontList(QComboBox* box) {
    std::vector<std::string> installed;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            installed.push_back(fromQ(family));
    }
    const QString missing =
        QCoreApplication::translate("FontList", "Not installed on this computer: shown with a "
                                                "substitute here, and maybe for visitors too");
    bool separated = false;
    for (const FontChoice& choice : FontChoices(std::move(installed))) {
        if (!choice.installed && !separated && box->count() > 0) {
            box->insertSeparator(box->count());
            separated = true;
        }
        box->addItem(toQ(choice.name));
        if (choice.installed)
            continue;
        const int row = box->count() - 1;
        QFont italic = box->font();
        italic.setItalic(true);
        box->setItemData(row, italic, Qt::FontRole);
        box->setItemData(row, box->palette().color(QPalette::Disabled, QPalette::Text),
                         Qt::ForegroundRole);
        box->setItemData(row, missing, Qt::ToolTipRole);
        box->setItemData(row, missing, Qt::AccessibleDescriptionRole);
    }
}

} // namespace qloom::gui
