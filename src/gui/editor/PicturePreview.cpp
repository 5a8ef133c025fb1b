#include "gui/editor/internal/PicturePreview.h"

#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/editor/internal/AvifSize.h"
#include "gui/editor/internal/JpegDecoder.h"
#include "model/Messages.h"
#include "script/FileIo.h"

#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeView>
#include <QVBoxLayout>

namespace qloom::gui {

namespace {
constexpr int kThumbSize = 160;
// Where a picture container states the picture's size.
constexpr qint64 kHeadBytes = 64 * 1024;
constexpr QSize kChooserSize(900, 500);
} // namespace

QImage LoadPreviewPicture(const QString& path) {
    // Read once, as a regular file of bounded size: a FIFO or a device chosen as a picture
    // must not hang or swell the editor.
    std::string bytes;
    if (!ReadWholeFile(fromQ(path), bytes).ok)
        return {};
    const QByteArray head =
        QByteArray::fromRawData(bytes.data(), qsizetype(std::min<size_t>(bytes.size(), 6)));
    if (head.size() >= 3 && uchar(head[0]) == 0xFF && uchar(head[1]) == 0xD8 &&
        uchar(head[2]) == 0xFF) {
        const Expected<DecodedImage> read =
            JpegDecoder::decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (!read)
            return {};
        const DecodedImage& decoded = *read;
        QImage image(decoded.width, decoded.height, QImage::Format_RGB888);
        const size_t rowBytes = size_t(decoded.width) * 3;
        for (int y = 0; y < decoded.height; ++y)
            std::copy_n(decoded.rgb.data() + size_t(y) * rowBytes, rowBytes, image.scanLine(y));
        return image;
    }
    // GIF, PNG, WebP, SVG and whatever else the installed image plugins read, told by the
    // content: a renamed file shows as what it is, a text named .gif as nothing.
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

QString PictureSizeText(const QString& path, const QImage& image) {
    if (!image.isNull())
        return QStringLiteral("%1 x %2").arg(image.width()).arg(image.height());
    std::string bytes;
    if (path.isEmpty() || !ReadWholeFile(fromQ(path), bytes).ok)
        return QString();
    PixelSize size;
    if (ReadAvifSize(std::string_view(bytes).substr(0, size_t(kHeadBytes)), size))
        return QStringLiteral("%1 x %2").arg(size.width).arg(size.height);
    return QString();
}

PicturePreview::PicturePreview(QWidget* parent)
    : QWidget(parent), picture_(new QLabel(this)), size_(new QLabel(this)),
      previewButton_(new QPushButton(uiText(msg::kPicturePreviewCaption), this)) {
    auto* layout = new QVBoxLayout(this);
    picture_->setFixedSize(kThumbSize, kThumbSize);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    picture_->setAccessibleName(tr("Picture preview"));
    size_->setAlignment(Qt::AlignCenter);
    layout->addWidget(size_);
    layout->addWidget(picture_);
    layout->addWidget(previewButton_);
    layout->addStretch();
    connect(previewButton_, &QPushButton::clicked, this, &PicturePreview::showFullSize);
    showFile(QString());
}

void PicturePreview::showFile(const QString& path) {
    image_ = path.isEmpty() ? QImage() : LoadPreviewPicture(path);
    if (image_.isNull()) {
        // A picture no plugin here can draw may still state its size (AVIF).
        const QString size = PictureSizeText(path, image_);
        picture_->clear();
        picture_->setText(uiText(msg::kNoPicture));
        size_->setText(size.isEmpty() ? uiText(msg::kNoPicture) : size);
        previewButton_->setEnabled(false);
        return;
    }
    QPixmap pixmap = QPixmap::fromImage(image_);
    if (pixmap.width() > kThumbSize || pixmap.height() > kThumbSize)
        pixmap =
            pixmap.scaled(kThumbSize, kThumbSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture_->setPixmap(pixmap);
    size_->setText(PictureSizeText(path, image_));
    previewButton_->setEnabled(true);
}

QString PicturePreview::sizeText() const {
    return size_->text();
}

void PicturePreview::showFullSize() {
    if (image_.isNull())
        return;
    if (!fullView_) {
        auto* view = new QDialog(this);
        view->setWindowTitle(uiText(msg::kPicturePreviewCaption));
        auto* scroll = new QScrollArea(view);
        fullPicture_ = new QLabel(scroll);
        fullPicture_->setAccessibleName(tr("Picture at full size"));
        scroll->setWidget(fullPicture_);
        auto* layout = new QVBoxLayout(view);
        layout->addWidget(scroll);
        fullView_ = view;
    }
    fullPicture_->setPixmap(QPixmap::fromImage(image_));
    fullPicture_->adjustSize();
    fullView_->resize(QSize(image_.width() + 40, image_.height() + 40).boundedTo(QSize(1000, 750)));
    fullView_->show();
    fullView_->raise();
}

QString ChoosePictureFile(QWidget* parent, const QString& startFolder) {
    QFileDialog dialog(parent);
    // The toolkit's own dialog, so the preview panel can sit beside the file list.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The filter lists read as the user knows them; the patterns stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(uiText(msg::kPictureFileFilter));
    dialog.setDefaultSuffix(QStringLiteral("gif"));
    dialog.setDirectory(startFolder.isEmpty() ? QDir::homePath() : startFolder);
    auto* preview = new PicturePreview(&dialog);
    preview->setObjectName(QStringLiteral("picturePreview"));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, &PicturePreview::showFile);
    // The details list beside the preview panel: wide enough that the size column is never
    // cut off, the name column taking what is left.
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(dialog.sizeHint().expandedTo(kChooserSize));
    if (auto* list = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace qloom::gui
