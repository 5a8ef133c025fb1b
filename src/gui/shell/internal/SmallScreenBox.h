#pragma once

#include <QGroupBox>

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace qloom {
struct ProjectSettings;
}

namespace qloom::gui {

// The small-screen settings in the project settings: below which page width the menus
// collapse into one button (Auto, Off or a width in CSS pixels), the button's caption and where
// it sits. Shown from the project's settings and written back into a copy of them on OK, so
// they change together with the others as one step to undo.
class SmallScreenBox : public QGroupBox {
    Q_OBJECT
public:
    // The choices of the mode box, in their order.
    enum Mode { Auto = 0, Off = 1, Width = 2 };
    static constexpr int kMinWidth = 200;
    static constexpr int kMaxWidth = 4000;
    static constexpr int kDefaultWidth = 768;

    explicit SmallScreenBox(QWidget* parent = nullptr);

    void load(const ProjectSettings& settings);
    void apply(ProjectSettings& settings) const;
    // The values of a new project.
    void showDefaults();

    QComboBox* modeBox() const { return mode_; }
    QSpinBox* widthBox() const { return width_; }
    QLineEdit* captionEdit() const { return caption_; }
    QComboBox* placeBox() const { return place_; }

private:
    void show(int breakpoint, const QString& caption, int place);
    void onModeChanged();

    QComboBox* mode_;
    QSpinBox* width_;
    QLineEdit* caption_;
    QComboBox* place_;
};

} // namespace qloom::gui
