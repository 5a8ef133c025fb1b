#pragma once

#include "editor/HtmlFragments.h"

#include <QColor>
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TfrmAddText;
}

namespace qloom::gui {

class MainWindowOps;

// "Add Text": formatted text with an optional font element, centred on request.
class TfrmAddText : public QDialog {
    Q_OBJECT
public:
    using Inserter = std::function<void(const std::string& fragment)>;
    using ColorPicker =
        std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    TfrmAddText(MainWindowOps& ops, QWidget* parent = nullptr);
    ~TfrmAddText() override;

    void setInserter(Inserter inserter) { inserter_ = std::move(inserter); }
    void setColorPicker(ColorPicker picker) { colorPicker_ = std::move(picker); }

    // Cleared each time the dialog opens; everything else keeps its last value.
    void clearEntries();
    // The fragment the current fields give.
    std::string fragment() const;

    void btnAddClick();
    void BitBtn2Click();
    void panColorClick();
    void chkDefaultFaceClick();
    void chkDefaultSizeClick();
    void chkDefaultColorClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmAddText> ui;
    Inserter inserter_;
    ColorPicker colorPicker_;
};

} // namespace qloom::gui
