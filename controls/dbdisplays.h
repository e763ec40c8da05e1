#pragma once

#include "dbcontrol.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

// Controls that show their point's value and never store one: the value text becomes their
// caption unless the page's OnDBPointValueChanged handler shows it itself.

class TQLabel : public QLabel, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
public:
    explicit TQLabel(QWidget* parent = nullptr);

protected:
    void ShowValue(const QString& value) override { setText(value); }
};

class TQGroupBox : public QGroupBox, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
public:
    explicit TQGroupBox(QWidget* parent = nullptr);

protected:
    void ShowValue(const QString& value) override { setTitle(value); }
};

// A raised frame with a centred caption.
class TQPanel : public QFrame, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
public:
    explicit TQPanel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    void ShowValue(const QString& value) override { setCaption(value); }

private:
    QString caption_;
};

class TQButton : public QPushButton, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
public:
    explicit TQButton(QWidget* parent = nullptr);

protected:
    void ShowValue(const QString& value) override { setText(value); }
};

// A button with a picture beside its caption.
class TQBitBtn : public TQButton {
    Q_OBJECT
    Q_PROPERTY(QPixmap Glyph READ Glyph WRITE setGlyph)
public:
    explicit TQBitBtn(QWidget* parent = nullptr);

    QPixmap Glyph() const { return glyph_; }
    void setGlyph(const QPixmap& glyph);

private:
    QPixmap glyph_;
};

// A lamp: on (State 1) while the point's value is TrueValue. The picture is the page's to set
// (in its OnDBPointValueChanged handler, which reads State); PictureOn and PictureOff, when
// given, are shown by the image itself.
class TQImage : public QLabel, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(QString TrueValue READ TrueValue WRITE setTrueValue)
    Q_PROPERTY(int State READ State)
    Q_PROPERTY(QPixmap PictureOn READ PictureOn WRITE setPictureOn)
    Q_PROPERTY(QPixmap PictureOff READ PictureOff WRITE setPictureOff)
public:
    explicit TQImage(QWidget* parent = nullptr);

    int State() const { return state_; }
    bool IsOn() const { return state_ == 1; }
    QPixmap PictureOn() const { return pictureOn_; }
    void setPictureOn(const QPixmap& picture);
    QPixmap PictureOff() const { return pictureOff_; }
    void setPictureOff(const QPixmap& picture);

protected:
    Shows ShowsAs() const override { return Shows::State; }
    void ShowValue(const QString& value) override;

private:
    void ShowPicture();

    int state_ = 0;
    QPixmap pictureOn_;
    QPixmap pictureOff_;
};
