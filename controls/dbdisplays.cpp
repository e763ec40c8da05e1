#include "dbdisplays.h"

#include <QPainter>

TQLabel::TQLabel(QWidget* parent) : QLabel(parent), DbControl(this) {}

TQGroupBox::TQGroupBox(QWidget* parent) : QGroupBox(parent), DbControl(this) {}

TQPanel::TQPanel(QWidget* parent) : QFrame(parent), DbControl(this)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
}

void TQPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TQPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (caption_.isEmpty())
        return;
    QPainter painter(this);
    painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
}

TQButton::TQButton(QWidget* parent) : QPushButton(parent), DbControl(this) {}

TQBitBtn::TQBitBtn(QWidget* parent) : TQButton(parent) {}

void TQBitBtn::setGlyph(const QPixmap& glyph)
{
    glyph_ = glyph;
    setIcon(QIcon(glyph));
}

TQImage::TQImage(QWidget* parent) : QLabel(parent), DbControl(this) {}

void TQImage::setPictureOn(const QPixmap& picture)
{
    pictureOn_ = picture;
    ShowPicture();
}

void TQImage::setPictureOff(const QPixmap& picture)
{
    pictureOff_ = picture;
    ShowPicture();
}

void TQImage::ShowValue(const QString& value)
{
    state_ = IsTrueValue(value) ? 1 : 0;
    ShowPicture();
}

void TQImage::ShowPicture()
{
    const QPixmap& picture = state_ ? pictureOn_ : pictureOff_;
    if (!picture.isNull())
        setPixmap(picture);
}
