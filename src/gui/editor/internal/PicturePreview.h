#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace qloom::gui {

// JPEG through our own decoder, every other kind through the installed image plugins (GIF, PNG,
// SVG, WebP, ...); a kind no plugin reads, or a damaged file, gives a null image. The kind is
// told by the file's content, not by its name.
QImage LoadPreviewPicture(const QString& path);

// "W x H" of the picture: of `image` when it was read, else from an AVIF file's own header;
// empty when neither knows.
QString PictureSizeText(const QString& path, const QImage& image);

// The side panel of the picture chooser: a scaled picture, its size in pixels or "(None)", and a
// "Preview" button that shows the picture at full size.
class PicturePreview : public QWidget {
    Q_OBJECT
public:
    explicit PicturePreview(QWidget* parent = nullptr);

    void showFile(const QString& path);
    QString sizeText() const;
    const QImage& image() const { return image_; }
    QPushButton* previewButton() const { return previewButton_; }

    // Opens the full-size view (non-blocking; one view, reused).
    void showFullSize();
    QWidget* fullSizeView() const { return fullView_; }

private:
    QImage image_;
    QLabel* picture_;
    QLabel* size_;
    QPushButton* previewButton_;
    QWidget* fullView_ = nullptr;
    QLabel* fullPicture_ = nullptr;
};

// Picks a picture file, showing the preview panel beside the file list. Returns the chosen path,
// or an empty text when the user cancels.
QString ChoosePictureFile(QWidget* parent, const QString& startFolder);

} // namespace qloom::gui
