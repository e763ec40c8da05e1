#include "dbcontrol.h"

#include "controlplace.h"
#include "dialogservice.h"
#include "floatformat.h"
#include "numbertext.h"
#include "ridovaz.h"
#include "winmsg.h"

#include <QCoreApplication>
#include <QDebug>
#include <QWidget>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace dbctl {

PointKind kindOfTypeCode(int typeCode)
{
    const auto valueType = ridovaz::typeTraits(typeCode).valueType;
    if (!valueType)
        return PointKind::Unknown;
    switch (*valueType) {
    case ridovaz::TypeCode::Float:
        return PointKind::Float;
    case ridovaz::TypeCode::U32:
        return PointKind::U32;
    case ridovaz::TypeCode::U16:
        return PointKind::U16;
    // A baud rate is edited as the byte it is on the unit.
    case ridovaz::TypeCode::U8:
    case ridovaz::TypeCode::Baud:
        return PointKind::U8;
    case ridovaz::TypeCode::S32:
        return PointKind::S32;
    case ridovaz::TypeCode::S16:
        return PointKind::S16;
    case ridovaz::TypeCode::S8:
        return PointKind::S8;
    case ridovaz::TypeCode::Bits8:
        return PointKind::Bits8;
    case ridovaz::TypeCode::Bool:
        return PointKind::Bool;
    case ridovaz::TypeCode::Text:
        return PointKind::Text;
    case ridovaz::TypeCode::Bits16:
        return PointKind::Bits16;
    case ridovaz::TypeCode::Bits32:
        return PointKind::Bits32;
    default:
        return PointKind::Unknown;
    }
}

int bitWidth(PointKind kind)
{
    switch (kind) {
    case PointKind::U8:
    case PointKind::S8:
    case PointKind::Bits8:
        return 8;
    case PointKind::U16:
    case PointKind::S16:
    case PointKind::Bits16:
        return 16;
    case PointKind::U32:
    case PointKind::S32:
    case PointKind::Bits32:
        return 32;
    default:
        return 0;
    }
}

bool isIntegerKind(PointKind kind)
{
    return bitWidth(kind) != 0;
}

std::intptr_t glueParam(IDatabaseGlue* glue)
{
    return reinterpret_cast<std::intptr_t>(glue);
}

IDatabaseGlue* glueFromParam(std::intptr_t lParam)
{
    return reinterpret_cast<IDatabaseGlue*>(lParam);
}

std::string toPointText(const QString& text)
{
    return text.toLatin1().toStdString();
}

QString fromPointText(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

QString rangeText(double low, double high)
{
    return QStringLiteral("Please enter a value between %1 and %2.")
        .arg(QString::fromStdString(floatfmt::toolkitText(low)), QString::fromStdString(floatfmt::toolkitText(high)));
}

// A typed text as a message quotes it: a text of a page's length would hide the message itself.
QString quoted(const QString& text)
{
    constexpr qsizetype kLongest = 40;
    const QString t = text.trimmed();
    return t.size() > kLongest ? t.left(kLongest - 3) + QStringLiteral("...") : t;
}

constexpr char kEnterAValue[] = "Please enter a value.";

struct IntegerRange {
    std::int64_t low;
    std::int64_t high;
};

IntegerRange rangeOf(PointKind kind)
{
    switch (kind) {
    case PointKind::U8:
    case PointKind::Bits8:
        return {0, 255};
    case PointKind::S8:
        return {-128, 127};
    case PointKind::U16:
    case PointKind::Bits16:
        return {0, 65535};
    case PointKind::S16:
        return {-32768, 32767};
    case PointKind::U32:
        return {0, 4294967295LL};
    case PointKind::S32:
        return {-2147483648LL, 2147483647LL};
    // A 32-bit mask travels in its signed form, and a caller may give either form.
    case PointKind::Bits32:
        return {-2147483648LL, 4294967295LL};
    default:
        return {0, 0};
    }
}

}  // namespace

QString notIntegerText(const QString& text)
{
    if (text.trimmed().isEmpty())
        return QString::fromLatin1(kEnterAValue);
    return QStringLiteral("'%1' is not a valid integer value.").arg(quoted(text));
}

QString notNumberText(const QString& text)
{
    if (text.trimmed().isEmpty())
        return QString::fromLatin1(kEnterAValue);
    return QStringLiteral("'%1' is not a valid floating point value.").arg(quoted(text));
}

std::optional<QString> checkEdit(const QString& text, const EditChecks& checks, QString* problem)
{
    const QString trimmed = text.trimmed();
    if (checks.required && trimmed.isEmpty()) {
        *problem = QString::fromLatin1(kEnterAValue);
        return std::nullopt;
    }
    const bool positive = checks.dataType == dtPosInt || checks.dataType == dtPosFloat;
    double value = 0;
    QString result = trimmed;
    switch (checks.dataType) {
    case dtString:
        return text;
    case dtInt:
    case dtPosInt: {
        const auto v = numtext::tryStrToInt64(trimmed);
        if (!v) {
            *problem = notIntegerText(trimmed);
            return std::nullopt;
        }
        value = static_cast<double>(*v);
        result = QString::number(*v);
        break;
    }
    case dtFloat:
    case dtPosFloat: {
        const auto v = numtext::tryStrToFiniteFloat(trimmed);
        if (!v) {
            *problem = notNumberText(trimmed);
            return std::nullopt;
        }
        value = *v;
        break;
    }
    }
    if (positive && value < 0) {
        *problem = QStringLiteral("Please enter a value of 0 or more.");
        return std::nullopt;
    }
    if (checks.rangeEdit && (value < checks.rangeLow || value > checks.rangeHigh)) {
        *problem = rangeText(checks.rangeLow, checks.rangeHigh);
        return std::nullopt;
    }
    return result;
}

std::optional<std::string> fitToPoint(const std::string& text, PointKind kind, QString* problem)
{
    const QString shown = fromPointText(text).trimmed();
    if (kind == PointKind::Float) {
        const auto v = numtext::tryStrToFiniteFloat(shown);
        if (!v) {
            *problem = notNumberText(shown);
            return std::nullopt;
        }
        if (std::fabs(*v) > FLT_MAX) {
            *problem = rangeText(-FLT_MAX, FLT_MAX);
            return std::nullopt;
        }
        return toPointText(shown);
    }
    if (!isIntegerKind(kind) || kind == PointKind::Bits8)
        return text;
    const auto v = numtext::tryStrToInt64(shown);
    if (!v) {
        *problem = notIntegerText(shown);
        return std::nullopt;
    }
    const IntegerRange r = rangeOf(kind);
    if (*v < r.low || *v > r.high) {
        *problem = rangeText(static_cast<double>(r.low), static_cast<double>(r.high));
        return std::nullopt;
    }
    return std::to_string(*v);
}

}  // namespace dbctl

// Sees the window messages before the control does, so no control class needs an event handler
// of its own for them.
class DbControl::MessageFilter : public QObject {
public:
    explicit MessageFilter(DbControl* owner) : owner_(owner) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != owner_->self_)
            return false;
        switch (static_cast<int>(event->type())) {
        case winmsg::WM_REGISTER_DATABASE:
        case winmsg::WM_UNREGISTER_DATABASE:
        case winmsg::WM_BEFORE_SEND_TO_DATABASE:
        case winmsg::WM_SEND_TO_DATABASE: {
            auto* message = static_cast<WinMessageEvent*>(event);
            // Nothing may leave an event handler; a failure refuses the message instead.
            try {
                owner_->HandleMessage(*message);
            } catch (const std::exception& e) {
                const bool writing = message->message() == winmsg::WM_BEFORE_SEND_TO_DATABASE ||
                                     message->message() == winmsg::WM_SEND_TO_DATABASE;
                owner_->Complain(QString::fromLocal8Bit(e.what()), writing ? Occasion::Write : Occasion::Edit);
                message->result = 1;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    DbControl* owner_;
};

DbControl::DbControl(QWidget* self) : self_(self), filter_(std::make_unique<MessageFilter>(this))
{
    self_->installEventFilter(filter_.get());
}

DbControl::~DbControl()
{
    filter_.reset();
    Detach();
}

void DbControl::setDbId(int id)
{
    if (id < dbctl::kNoPoint || id > 0xFFFF) {
        qWarning() << self_->objectName() << "refuses point id" << id << "(ids are 0 to 65535)";
        return;
    }
    if (id == dbId_)
        return;
    dbId_ = id;
    Rebind();
}

void DbControl::setUseDatabase(bool use)
{
    if (use == useDatabase_)
        return;
    useDatabase_ = use;
    Rebind();
}

void DbControl::Rebind()
{
    if (IsAttached() && IsBound() && attachedGlue_ == glue_ && attachedId_ == dbId_)
        return;
    Detach();
    if (!glue_ || !IsBound())
        return;
    if (glue_->AttachObserver(dbId_, this) != 0) {
        qWarning() << self_->objectName() << "names point" << dbId_ << "which the register map does not hold";
        return;
    }
    attachedGlue_ = glue_;
    attachedId_ = dbId_;
    kind_ = dbctl::kindOfTypeCode(glue_->GetPointType(dbId_));
}

void DbControl::Detach()
{
    if (IsAttached())
        attachedGlue_->DetachObserver(attachedId_, this);
    attachedGlue_ = nullptr;
    attachedId_ = dbctl::kNoPoint;
    kind_ = dbctl::PointKind::Unknown;
    hasValue_ = false;
    edited_ = false;
    toldOf_.reset();
}

void DbControl::HandleMessage(WinMessageEvent& message)
{
    switch (message.message()) {
    case winmsg::WM_REGISTER_DATABASE:
        glue_ = dbctl::glueFromParam(message.lParam);
        Rebind();
        break;
    case winmsg::WM_UNREGISTER_DATABASE:
        Detach();
        glue_ = nullptr;
        break;
    case winmsg::WM_BEFORE_SEND_TO_DATABASE:
        // Every edit is checked before anything is stored, so one bad box stops the whole write.
        // A page handler may store a value of its own making, so the point's own checks wait for
        // the store when the control has one.
        if (edited_ && IsAttached() && Editable()) {
            QString problem;
            std::optional<std::string> text = TextToStore(&problem);
            if (text && !OnPutToDatabase)
                text = dbctl::fitToPoint(*text, kind_, &problem);
            if (!text && !problem.isEmpty()) {
                Complain(problem, Occasion::Write);
                message.result = 1;
            }
        }
        break;
    case winmsg::WM_SEND_TO_DATABASE:
        switch (PutToDatabase(Occasion::Write)) {
        case PutResult::Refused:
            message.result = 1;
            break;
        case PutResult::Declined:
            // The database keeps only edits of the page shown; the box must not pretend otherwise.
            RevertEdit();
            break;
        case PutResult::Nothing:
        case PutResult::Stored:
            break;
        }
        break;
    default:
        break;
    }
}

void DbControl::OnValueChanged(const std::string& value)
{
    Present(dbctl::fromPointText(value));
}

void DbControl::Present(const QString& value)
{
    pointValue_ = value;
    hasValue_ = true;
    edited_ = false;
    toldOf_.reset();
    bool showValue = true;
    if (ShowsAs() == Shows::State) {
        Display(value);
        if (OnDBPointValueChanged)
            OnDBPointValueChanged(self_, value, showValue);
        return;
    }
    if (OnDBPointValueChanged)
        OnDBPointValueChanged(self_, value, showValue);
    if (showValue)
        Display(value);
}

void DbControl::Display(const QString& value)
{
    struct Scope {
        int& depth;
        explicit Scope(int& d) : depth(d) { ++depth; }
        ~Scope() { --depth; }
    } scope(showing_);
    ShowValue(value);
}

void DbControl::RevertEdit()
{
    edited_ = false;
    if (hasValue_)
        Present(pointValue_);
}

void DbControl::UserChanged()
{
    if (Showing())
        return;
    edited_ = true;
    toldOf_.reset();
}

void DbControl::UserCommitted()
{
    if (Showing())
        return;
    edited_ = true;
    // Stored at once while the page is shown; one the database does not take now waits for the
    // send-to-database broadcast.
    PutToDatabase();
}

DbControl::PutResult DbControl::PutToDatabase(Occasion occasion)
{
    if (!edited_ || !IsAttached() || !Editable())
        return PutResult::Nothing;
    QString problem;
    std::optional<std::string> text = TextToStore(&problem);
    if (!text) {
        if (!problem.isEmpty()) {
            Complain(problem, occasion);
            return PutResult::Refused;
        }
        edited_ = false;
        return PutResult::Nothing;
    }
    bool storeValue = true;
    if (OnPutToDatabase)
        OnPutToDatabase(self_, storeValue);
    if (!storeValue) {
        edited_ = false;
        return PutResult::Nothing;
    }
    // A number the point would cut or wrap (300 in an 8-bit point becomes 44) is refused here.
    text = dbctl::fitToPoint(*text, kind_, &problem);
    if (!text) {
        Complain(problem, occasion);
        return PutResult::Refused;
    }
    bool taken = false;
    try {
        taken = attachedGlue_->SetPointText(attachedId_, *text);
    } catch (const std::exception& e) {
        // The database's own refusal (a text its translation cannot take): say why and show
        // the point's value again, which is what it still holds.
        DialogService::ask(QMessageBox::Critical, QCoreApplication::applicationName(), QString::fromLocal8Bit(e.what()),
                           QMessageBox::Ok);
        RevertEdit();
        return PutResult::Refused;
    }
    if (!taken)
        return PutResult::Declined;
    edited_ = false;
    return PutResult::Stored;
}

void DbControl::Complain(const QString& problem, Occasion occasion)
{
    if (occasion == Occasion::Write) {
        // The box is shown first, so the message stands over it; the focus it takes does not end
        // the edit a second time with the same warning.
        controlplace::reveal(self_);
        toldOf_ = EditText();
        DialogService::warn(controlplace::placedText(self_, problem));
        return;
    }
    // One warning per Enter: the Enter handler's check and the box's own (or the focus the
    // message box takes) must not repeat what the user has just been told.
    if (occasion == Occasion::Edit && toldOf_ && *toldOf_ == EditText())
        return;
    toldOf_ = EditText();
    DialogService::warn(problem);
    if (self_->isVisible())
        self_->setFocus();
}

void DbControl::WarnedOfEdit()
{
    toldOf_ = EditText();
}

bool DbControl::IsTrueValue(const QString& value) const
{
    if (kind_ == dbctl::PointKind::Bool)
        return pointtext::parseBool(dbctl::toPointText(value)) == pointtext::parseBool(dbctl::toPointText(trueValue_));
    if (dbctl::isIntegerKind(kind_) && kind_ != dbctl::PointKind::Bits8) {
        const auto a = numtext::tryStrToInt64(value);
        const auto b = numtext::tryStrToInt64(trueValue_);
        if (a && b)
            return *a == *b;
    }
    return value == trueValue_;
}

std::string DbControl::OffText() const
{
    if (!falseValue_.isEmpty())
        return dbctl::toPointText(falseValue_);
    if (kind_ == dbctl::PointKind::Bool)
        return pointtext::parseBool(dbctl::toPointText(trueValue_)) ? "False" : "True";
    return "0";
}
