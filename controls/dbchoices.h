#pragma once

#include "dbcontrol.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

class QButtonGroup;
class QGridLayout;

// Controls that offer a list of choices. A choice's value is its entry in Values when the page
// gives Values, else its position as a decimal number (0 for the first); the page works with the
// chosen position or value, never with the point's text. A value that names no choice shows no
// choice.

class TQComboBox : public QComboBox, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(QStringList Values READ Values WRITE setValues)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
public:
    explicit TQComboBox(QWidget* parent = nullptr);

    // An editable box without Values stores its text as typed.
    QStringList Values() const { return values_; }
    void setValues(const QStringList& values) { values_ = values; }
    bool ReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // The value of the chosen entry; empty when none is chosen.
    QString CurrentValue() const;

protected:
    Shows ShowsAs() const override { return Shows::State; }
    void ShowValue(const QString& value) override;
    bool Editable() const override { return !readOnly_; }
    std::optional<std::string> TextToStore(QString* problem) const override;
    void showPopup() override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void WatchLine();

    QPointer<QLineEdit> watchedLine_;
    QStringList values_;
    bool readOnly_ = false;
};

// A framed group of radio buttons, one per entry of Items, filled column by column.
class TQRadioGroup : public QGroupBox, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(QStringList Values READ Values WRITE setValues)
    Q_PROPERTY(int Columns READ Columns WRITE setColumns)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex)
public:
    explicit TQRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const { return items_; }
    void setItems(const QStringList& items);
    QStringList Values() const { return values_; }
    void setValues(const QStringList& values) { values_ = values; }
    int Columns() const { return columns_; }
    void setColumns(int columns);
    // -1 when no button is on.
    int ItemIndex() const;
    void setItemIndex(int index);
    QString CurrentValue() const;

protected:
    Shows ShowsAs() const override { return Shows::State; }
    void ShowValue(const QString& value) override;
    bool Editable() const override { return true; }
    std::optional<std::string> TextToStore(QString* problem) const override;

private:
    void Rebuild();

    QStringList items_;
    QStringList values_;
    int columns_ = 1;
    QButtonGroup* buttons_;
    QGridLayout* grid_;
};

// A tree whose chosen item is the point's value: an item's value is its Qt::UserRole data, or
// its first column's text when it has none.
class TQTreeList : public QTreeWidget, public DbControl {
    Q_OBJECT
    Q_PROPERTY(int DbId READ DbId WRITE setDbId)
    Q_PROPERTY(bool UseDatabase READ UseDatabase WRITE setUseDatabase)
    Q_PROPERTY(bool DbPolled READ DbPolled WRITE setDbPolled)
public:
    explicit TQTreeList(QWidget* parent = nullptr);

    static QString ItemValue(const QTreeWidgetItem* item);

protected:
    Shows ShowsAs() const override { return Shows::State; }
    void ShowValue(const QString& value) override;
    bool Editable() const override { return true; }
    std::optional<std::string> TextToStore(QString* problem) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool userInput_ = false;
};

namespace dbctl {
// The position of a value among a list's choices (Values, or positions), -1 when none.
int choiceIndex(const QString& value, const QStringList& values, int count);
QString choiceValue(int index, const QStringList& values);
}  // namespace dbctl
