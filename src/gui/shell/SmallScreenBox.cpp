#include "gui/shell/internal/SmallScreenBox.h"

#include "gui/common/TextConv.h"
#include "model/ProjectSettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

namespace qloom::gui {

namespace {
// The button's caption when the author leaves it empty: a button without a name cannot be
// found by a screen reader or described by anyone.
const QString kDefaultCaption = QStringLiteral("Menu");
constexpr int kAutoBreakpoint = -1;
constexpr int kOffBreakpoint = 0;
constexpr int kPlaces = 3;
} // namespace

SmallScreenBox::SmallScreenBox(QWidget* parent)
    : QGroupBox(tr("Small screens"), parent), mode_(new QComboBox(this)),
      width_(new QSpinBox(this)), caption_(new QLineEdit(this)), place_(new QComboBox(this)) {
    setObjectName(QStringLiteral("smallScreenBox"));
    mode_->setObjectName(QStringLiteral("smallScreenModeBox"));
    width_->setObjectName(QStringLiteral("smallScreenWidthBox"));
    caption_->setObjectName(QStringLiteral("smallScreenCaptionEdit"));
    place_->setObjectName(QStringLiteral("smallScreenPlaceBox"));

    mode_->addItem(tr("Auto (after the rightmost menu)"));
    mode_->addItem(tr("Off (desktop layout at every width)"));
    mode_->addItem(tr("Below a width of"));
    mode_->setAccessibleName(tr("Collapse the menus"));
    width_->setRange(kMinWidth, kMaxWidth);
    width_->setSuffix(tr(" px"));
    width_->setAccessibleName(tr("Collapse below this width in CSS pixels"));
    caption_->setMaxLength(60);
    caption_->setAccessibleName(tr("Button caption"));
    place_->addItem(tr("Top left"));
    place_->addItem(tr("Top right"));
    place_->addItem(tr("At the first menu's place"));
    place_->setAccessibleName(tr("Button place"));

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(mode_, 1);
    modeRow->addWidget(width_);
    auto* form = new QFormLayout(this);
    // A row holding a layout gets no buddy of its own: the label names the mode box.
    auto* modeLabel = new QLabel(tr("&Collapse menus:"), this);
    modeLabel->setBuddy(mode_);
    form->addRow(modeLabel, modeRow);
    form->addRow(tr("Button &caption:"), caption_);
    form->addRow(tr("Button &place:"), place_);
    setToolTip(tr("On narrow screens and zoomed pages the menus become one button that opens "
                  "them as a list"));
    connect(mode_, &QComboBox::currentIndexChanged, this, &SmallScreenBox::onModeChanged);
    showDefaults();
}

void SmallScreenBox::show(int breakpoint, const QString& caption, int place) {
    const Mode mode = breakpoint == kAutoBreakpoint  ? Auto
                      : breakpoint <= kOffBreakpoint ? Off
                                                     : Width;
    mode_->setCurrentIndex(mode);
    if (mode == Width)
        width_->setValue(breakpoint);
    else
        width_->setValue(kDefaultWidth);
    caption_->setText(caption);
    place_->setCurrentIndex(std::clamp(place, 0, kPlaces - 1));
    onModeChanged();
}

void SmallScreenBox::showDefaults() {
    show(kAutoBreakpoint, kDefaultCaption, 0);
}

void SmallScreenBox::load(const ProjectSettings& settings) {
    show(settings.smallScreenBreakpoint, toQ(settings.smallScreenCaption),
         settings.smallScreenPlace);
}

void SmallScreenBox::apply(ProjectSettings& settings) const {
    switch (mode_->currentIndex()) {
    case Auto:
        settings.smallScreenBreakpoint = kAutoBreakpoint;
        break;
    case Off:
        settings.smallScreenBreakpoint = kOffBreakpoint;
        break;
    default:
        settings.smallScreenBreakpoint = width_->value();
        break;
    }
    const QString caption = caption_->text().simplified();
    settings.smallScreenCaption = fromQ(caption.isEmpty() ? kDefaultCaption : caption);
    settings.smallScreenPlace = place_->currentIndex();
}

void SmallScreenBox::onModeChanged() {
    width_->setEnabled(mode_->currentIndex() == Width);
    // With the mode off the button never appears; its caption and place do not apply.
    const bool used = mode_->currentIndex() != Off;
    caption_->setEnabled(used);
    place_->setEnabled(used);
}

} // namespace qloom::gui
