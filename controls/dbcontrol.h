#pragma once

#include "database.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QEvent;
class QWidget;
class WinMessageEvent;

// The data-aware controls bind to one point of the point database. The main window hands them
// the database with its registration broadcast:
//
//     WinMessageEvent m(winmsg::WM_REGISTER_DATABASE, 0, dbctl::glueParam(DataBase::Instance()));
//
// wParam is 0 and lParam is the database's IDatabaseGlue interface (the IDatabaseGlue base of
// DataBase, not the DataBase pointer itself: use glueParam, which converts first).
// WM_UNREGISTER_DATABASE carries the same lParam. Neither is ever answered non-zero by a control:
// an id the map does not know leaves that one control unattached and the broadcast goes on.
//
// Before a write the main window sends WM_BEFORE_SEND_TO_DATABASE, WM_SEND_TO_DATABASE and
// WM_AFTER_SEND_TO_DATABASE. A control with an edit of the user's checks it on the first (and
// answers 1 after showing why when it is not a value its point can take) and stores it on the
// second (answering 1, after showing why, when the checks or the database's conversion refuse it).
// A refusal at a write names the box and its place ("Stream 2, H2S: Hours: ..."), shows its tab
// and puts the focus in it; the edit stays in the box.
namespace dbctl {
Q_NAMESPACE

// What an edit accepts; dtString takes any text its point can hold.
enum DataType { dtString, dtInt, dtPosInt, dtFloat, dtPosFloat };
Q_ENUM_NS(DataType)

// The bit of a bit-mask point that a check box shows and sets.
enum WatchBit {
    bnNone = -1,
    bnBit0,
    bnBit1,
    bnBit2,
    bnBit3,
    bnBit4,
    bnBit5,
    bnBit6,
    bnBit7,
    bnBit8,
    bnBit9,
    bnBit10,
    bnBit11,
    bnBit12,
    bnBit13,
    bnBit14,
    bnBit15,
    bnBit16,
    bnBit17,
    bnBit18,
    bnBit19,
    bnBit20,
    bnBit21,
    bnBit22,
    bnBit23,
    bnBit24,
    bnBit25,
    bnBit26,
    bnBit27,
    bnBit28,
    bnBit29,
    bnBit30,
    bnBit31
};
Q_ENUM_NS(WatchBit)

// How the database keeps a point's value, from its type code.
enum class PointKind { Unknown, U8, S8, U16, S16, U32, S32, Float, Bool, Text, Bits8, Bits16, Bits32 };
PointKind kindOfTypeCode(int typeCode);
bool isIntegerKind(PointKind kind);
// 8, 16 or 32 for the integer kinds, 0 for the others.
int bitWidth(PointKind kind);

// The DbId of a control that names no point.
constexpr int kNoPoint = -1;

std::intptr_t glueParam(IDatabaseGlue* glue);
IDatabaseGlue* glueFromParam(std::intptr_t lParam);

// Texts cross to the points as the unit's 8-bit characters.
std::string toPointText(const QString& text);
QString fromPointText(const std::string& text);

// Why a box's text is no whole number, or no number: "Please enter a value." for an empty box,
// else the text quoted ("'12a' is not a valid integer value."), a long one shortened.
QString notIntegerText(const QString& text);
QString notNumberText(const QString& text);

// The checks a text entry applies before it stores a text.
struct EditChecks {
    DataType dataType = dtString;
    bool required = false;
    bool rangeEdit = false;
    double rangeLow = 0;
    double rangeHigh = 0;
};

// Checks a typed text against a text entry's checks; the text to store (trimmed for the number
// types), or nullopt with *problem set.
std::optional<QString> checkEdit(const QString& text, const EditChecks& checks, QString* problem);
// Whether a text fits the point: a whole number within the width of an integer point, a finite
// number within single precision for a float point. Gives the text to store (integers in plain
// decimal), or nullopt with *problem set. Bits8 points take their one-character form as it is.
std::optional<std::string> fitToPoint(const std::string& text, PointKind kind, QString* problem);
}  // namespace dbctl

// The binding that every data-aware control shares: its point id, its attachment to the point,
// the value the point last announced, the user's pending edit and the two published events.
//
// A control shows what its point announces. An edit counts only when the user made it (typing,
// clicking, choosing); a value set from code is never written back unless the page asks for it
// with MarkEdited. The user's edit is stored into the point's pending value when the user ends it
// (Enter, leaving the box, a click) and again, if it could not be stored then, on
// WM_SEND_TO_DATABASE. Nothing is ever stored by a control that is not attached to a point.
//
// A control attached to its point must be destroyed or unregistered before the database is
// released: it detaches itself from the point when it is destroyed.
class DbControl : public IDBPointObserver {
public:
    // sender, the point's value text, and ShowValue: clear it to leave the display alone.
    using ValueChangedEvent = std::function<void(QWidget* sender, const QString& value, bool& showValue)>;
    // sender and StoreValue: clear it when the handler stored the value itself or wants nothing
    // stored.
    using PutToDatabaseEvent = std::function<void(QWidget* sender, bool& storeValue)>;

    DbControl(const DbControl&) = delete;
    DbControl& operator=(const DbControl&) = delete;

    // -1 (kNoPoint, the default) or a point id 0 to 65535. Any other id is refused and the
    // control keeps the id it had: an id cut to 16 bits would name another point.
    int DbId() const { return dbId_; }
    void setDbId(int id);
    // True (the default) binds the control to DbId; false leaves DbId an id for the page's own use.
    bool UseDatabase() const { return useDatabase_; }
    void setUseDatabase(bool use);
    // The page polls this control's point.
    bool DbPolled() const { return dbPolled_; }
    void setDbPolled(bool polled) { dbPolled_ = polled; }

    // The text meaning "on" for boxes, radio buttons, images and two-state buttons.
    QString TrueValue() const { return trueValue_; }
    void setTrueValue(const QString& value) { trueValue_ = value; }
    // What a cleared box stores; empty (the default) means the opposite of TrueValue on a Boolean
    // point and "0" on any other.
    QString FalseValue() const { return falseValue_; }
    void setFalseValue(const QString& value) { falseValue_ = value; }

    bool IsBound() const { return useDatabase_ && dbId_ != dbctl::kNoPoint; }
    bool IsAttached() const { return attachedId_ != dbctl::kNoPoint; }
    // The kind of the attached point; Unknown while unattached.
    dbctl::PointKind Kind() const { return kind_; }
    bool HasPointValue() const { return hasValue_; }
    // The text the point last announced.
    const QString& PointValue() const { return pointValue_; }
    bool HasUserEdit() const { return edited_; }

    // Takes what the control shows now as an edit of the user's, to be stored like one.
    void MarkEdited() { edited_ = true; }
    // Drops the user's edit and shows the point's value again.
    void RevertEdit();

    enum class PutResult {
        Nothing,  // no edit, nothing to store, or the handler took care of it
        Stored,
        Declined,  // the database did not take the text (a point not on the page shown)
        Refused,   // the check or the database's conversion refused it; the user was told
    };
    // When an edit is checked: as the user ends it, for an act on the box at once (an Enter
    // handler, a button), or for a write (whose refusal names the box).
    enum class Occasion { Edit, Act, Write };
    // Checks and stores the user's edit now (OnPutToDatabase first).
    PutResult PutToDatabase(Occasion occasion = Occasion::Edit);

    // The page has just told the user why what the box shows cannot stand (one warning per Enter):
    // the box's own check stays quiet about the same text until the user changes it. A write
    // still names the box.
    void WarnedOfEdit();

    ValueChangedEvent OnDBPointValueChanged;
    PutToDatabaseEvent OnPutToDatabase;

protected:
    explicit DbControl(QWidget* self);
    ~DbControl() override;

    QWidget* Self() const { return self_; }

    // Text controls raise OnDBPointValueChanged before they show the value; state controls take
    // the new state first so the handler reads the control as the new value.
    enum class Shows { Text, State };
    virtual Shows ShowsAs() const { return Shows::Text; }
    virtual void ShowValue(const QString& value) = 0;
    // Whether this control stores edits at all (read-only ones and displays do not).
    virtual bool Editable() const { return false; }
    // The text the user edits (a text entry's line), for telling the user about it once.
    virtual QString EditText() const { return {}; }
    // The text to store for what the control shows; nullopt when there is nothing to store
    // (with *problem set when the shown value may not be stored).
    virtual std::optional<std::string> TextToStore(QString* problem) const { return std::nullopt; }

    // From the control's user signals: an edit in progress, and an edit the user ended.
    void UserChanged();
    void UserCommitted();
    // True while the control shows an announced value, so the signals that raises are not taken
    // for the user's.
    bool Showing() const { return showing_ > 0; }
    // For two-state controls: whether a value text means "on", and the texts to store.
    bool IsTrueValue(const QString& value) const;
    std::string OnText() const { return dbctl::toPointText(trueValue_); }
    std::string OffText() const;
    // Shows why the edit cannot be stored. As an edit ends, once for the same text (the focus a
    // message box takes ends it again); an act always says it; a write with the box's place, the
    // box brought into view. Each leaves the edit's own check quiet about the same text.
    void Complain(const QString& problem, Occasion occasion);
    // A new act of the user's (an Enter): what the user was told before no longer counts.
    void ForgetTold() { toldOf_.reset(); }

private:
    class MessageFilter;
    friend class MessageFilter;

    void OnValueChanged(const std::string& value) override;
    void HandleMessage(WinMessageEvent& message);
    void Rebind();
    void Detach();
    void Present(const QString& value);
    void Display(const QString& value);

    QWidget* self_;
    std::unique_ptr<MessageFilter> filter_;
    int dbId_ = dbctl::kNoPoint;
    bool useDatabase_ = true;
    bool dbPolled_ = false;
    QString trueValue_ = QStringLiteral("True");
    QString falseValue_;
    IDatabaseGlue* glue_ = nullptr;  // from the registration, until the unregistration
    IDatabaseGlue* attachedGlue_ = nullptr;
    int attachedId_ = dbctl::kNoPoint;
    dbctl::PointKind kind_ = dbctl::PointKind::Unknown;
    QString pointValue_;
    bool hasValue_ = false;
    bool edited_ = false;
    int showing_ = 0;
    // The text the user was last told about, until the user changes the box.
    std::optional<QString> toldOf_;
};
