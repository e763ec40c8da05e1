#include "dialup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace {

const QString kNmcli = QStringLiteral("nmcli");
const QString kEditor = QStringLiteral("nm-connection-editor");
// Listing, deleting and taking a connection down are quick; the entry dialogs are the user's.
constexpr int kQuickMs = 15000;
constexpr int kEditorMs = 60 * 60 * 1000;
// Beyond nmcli's own wait, before the dial is given up.
constexpr int kDialMarginMs = 10000;

// nmcli's terse output: fields split at ':' not escaped by '\'.
QStringList terseFields(const QString& line)
{
    QStringList fields(1);
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            fields.last() += line[++i];
        } else if (c == QLatin1Char(':')) {
            fields << QString();
        } else {
            fields.last() += c;
        }
    }
    return fields;
}

QString firstLine(const QByteArray& text)
{
    const QString all = QString::fromLocal8Bit(text).trimmed();
    return all.section(QLatin1Char('\n'), 0, 0).trimmed();
}

}  // namespace

DialUpDialer::DialUpDialer(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("RasDialer"));
    dialBound_ = new QTimer(this);
    dialBound_->setSingleShot(true);
    connect(dialBound_, &QTimer::timeout, this, [this] {
        if (!dial_)
            return;
        dial_->disconnect(this);
        dial_->kill();
        dial_->waitForFinished(1000);
        dial_->deleteLater();
        dial_ = nullptr;
        lastCode_ = ErrorTimeout;
        lastDetail_.clear();
        takeDown();
        emit dialError(ErrorTimeout);
    });
}

DialUpDialer::~DialUpDialer()
{
    // Hangs up when destroyed, so no connection outlives its dialer; nothing is reported any more.
    blockSignals(true);
    Hangup();
}

bool DialUpDialer::usesFilePhonebook() const
{
    const QString p = phonebook_.trimmed();
    return !p.isEmpty() && p != QLatin1String(kDefaultPhonebook);
}

// The entry editors work on NetworkManager's connections; a phonebook file is edited in the file.
bool DialUpDialer::refuseFilePhonebookEdit()
{
    if (!usesFilePhonebook())
        return false;
    lastDetail_ = QStringLiteral("the entries of a phonebook file are edited in the file");
    lastCode_ = ErrorPhonebook;
    return true;
}

bool DialUpDialer::isDialing() const
{
    return dial_ != nullptr;
}

qint64 DialUpDialer::worstCaseMs() const
{
    return dialTimeoutSeconds_ * 1000LL + kDialMarginMs;
}

int DialUpDialer::run(const QString& program, const QStringList& args, int timeoutMs, QString* out, bool pump)
{
    lastDetail_.clear();
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        lastDetail_ = QStringLiteral("%1 was not found").arg(program);
        return -1;
    }
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted(5000)) {
        lastDetail_ = process.errorString();
        return -1;
    }
    bool finished = false;
    if (pump) {
        QElapsedTimer clock;
        clock.start();
        while (process.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            process.waitForFinished(1);
            QThread::msleep(1);
        }
        finished = process.state() == QProcess::NotRunning;
    } else {
        finished = process.waitForFinished(timeoutMs);
    }
    if (!finished) {
        process.kill();
        process.waitForFinished(1000);
        lastDetail_ = QStringLiteral("%1 did not finish in time").arg(program);
        return -2;
    }
    if (out)
        *out = QString::fromLocal8Bit(process.readAllStandardOutput());
    lastDetail_ = firstLine(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit)
        return 1;
    return process.exitCode();
}

int DialUpDialer::codeOfExit(int exitCode) const
{
    switch (exitCode) {
    case 0:
        return Success;
    case -1:
        return ErrorNoService;
    case -2:
        return ErrorTimeout;
    case 3:
        return ErrorTimeout;
    case 8:
        return ErrorNoService;
    case 10:
        return ErrorEntryNotFound;
    default:
        return ErrorFromDevice;
    }
}

int DialUpDialer::Dial()
{
    if (dial_)
        return lastCode_ = ErrorAlreadyDialing;
    lastDetail_.clear();
    if (entryName_.trimmed().isEmpty())
        return lastCode_ = ErrorNoEntry;
    if (QStandardPaths::findExecutable(kNmcli).isEmpty()) {
        lastDetail_ = QStringLiteral("nmcli was not found");
        return lastCode_ = ErrorNoService;
    }
    connected_ = false;
    dial_ = new QProcess(this);
    connect(dial_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        dialFinished(status == QProcess::NormalExit ? exitCode : 1);
    });
    dial_->start(kNmcli, {QStringLiteral("--wait"), QString::number(dialTimeoutSeconds_), QStringLiteral("connection"),
                          QStringLiteral("up"), QStringLiteral("id"), entryName_});
    if (!dial_->waitForStarted(5000)) {
        lastDetail_ = dial_->errorString();
        dial_->disconnect(this);
        dial_->deleteLater();
        dial_ = nullptr;
        return lastCode_ = ErrorNoService;
    }
    dialBound_->start(static_cast<int>(worstCaseMs()));
    return Success;
}

void DialUpDialer::dialFinished(int exitCode)
{
    dialBound_->stop();
    QProcess* process = dial_;
    dial_ = nullptr;
    if (process) {
        lastDetail_ = firstLine(process->readAllStandardError());
        process->disconnect(this);
        process->deleteLater();
    }
    if (hangingUp_) {
        lastCode_ = ErrorPortDisconnected;
        emit dialError(ErrorPortDisconnected);
        return;
    }
    const int code = codeOfExit(exitCode);
    lastCode_ = code;
    if (code == Success) {
        connected_ = true;
        emit connected();
    } else {
        if (code == ErrorTimeout)
            takeDown();
        emit dialError(code);
    }
}

// nmcli gives up waiting, but NetworkManager goes on bringing the connection up: a dial given up
// on is taken down, so that the line does not come up unseen after the dial reported failure.
void DialUpDialer::takeDown()
{
    const int saved = lastCode_;
    const QString detail = lastDetail_;
    run(kNmcli, {QStringLiteral("connection"), QStringLiteral("down"), QStringLiteral("id"), entryName_}, kQuickMs,
        nullptr, false);
    lastCode_ = saved;
    lastDetail_ = detail;
}

bool DialUpDialer::confirmConnected()
{
    if (!connected_)
        return false;
    QString state;
    const int saved = lastCode_;
    const int exit = run(kNmcli,
                         {QStringLiteral("-g"), QStringLiteral("GENERAL.STATE"), QStringLiteral("connection"),
                          QStringLiteral("show"), QStringLiteral("id"), entryName_},
                         kQuickMs, &state, false);
    lastCode_ = saved;
    connected_ = exit == 0 && state.trimmed() == QLatin1String("activated");
    return connected_;
}

void DialUpDialer::Hangup()
{
    if (hangingUp_)
        return;
    hangingUp_ = true;
    const bool wasDialing = dial_ != nullptr;
    const bool wasConnected = connected_;
    if (dial_) {
        dial_->kill();
        if (!dial_->waitForFinished(2000) && dial_)
            dialFinished(1);
    }
    connected_ = false;
    // Also undoes a connection that came part of the way up.
    if (wasDialing || wasConnected)
        takeDown();
    hangingUp_ = false;
    if (wasConnected)
        emit disconnected();
}

int DialUpDialer::ListEntries(QStringList& entries)
{
    if (usesFilePhonebook()) {
        QFile file(phonebook_.trimmed());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            lastDetail_ = file.errorString();
            return lastCode_ = ErrorPhonebook;
        }
        QStringList found;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.size() > 2 && line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
                found << line.mid(1, line.size() - 2);
        }
        entries = found;
        return lastCode_ = Success;
    }
    QString out;
    const int exit = run(kNmcli,
                         {QStringLiteral("-t"), QStringLiteral("-f"), QStringLiteral("NAME,TYPE"),
                          QStringLiteral("connection"), QStringLiteral("show")},
                         kQuickMs, &out, false);
    if (exit != 0)
        return lastCode_ = codeOfExit(exit);
    QStringList found;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = terseFields(line);
        if (fields.value(0).isEmpty() || fields.value(1) == QLatin1String("loopback"))
            continue;
        found << fields.value(0);
    }
    entries = found;
    return lastCode_ = Success;
}

int DialUpDialer::CreatePhonebookEntry()
{
    if (refuseFilePhonebookEdit())
        return lastCode_;
    const int exit = run(kEditor, {QStringLiteral("--create")}, kEditorMs, nullptr, true);
    return lastCode_ = exit == 0 ? Success : (exit == -1 ? ErrorNoService : ErrorEditor);
}

int DialUpDialer::EditPhonebookEntry()
{
    if (refuseFilePhonebookEdit())
        return lastCode_;
    if (entryName_.trimmed().isEmpty())
        return lastCode_ = ErrorNoEntry;
    QString uuid;
    const int found = run(kNmcli,
                          {QStringLiteral("-g"), QStringLiteral("connection.uuid"), QStringLiteral("connection"),
                           QStringLiteral("show"), QStringLiteral("id"), entryName_},
                          kQuickMs, &uuid, false);
    if (found != 0)
        return lastCode_ = codeOfExit(found);
    const int exit = run(kEditor, {QStringLiteral("--edit"), uuid.trimmed().section(QLatin1Char('\n'), 0, 0)},
                         kEditorMs, nullptr, true);
    return lastCode_ = exit == 0 ? Success : (exit == -1 ? ErrorNoService : ErrorEditor);
}

int DialUpDialer::DeletePhonebookEntry()
{
    if (refuseFilePhonebookEdit())
        return lastCode_;
    if (entryName_.trimmed().isEmpty())
        return lastCode_ = ErrorNoEntry;
    const int exit =
        run(kNmcli, {QStringLiteral("connection"), QStringLiteral("delete"), QStringLiteral("id"), entryName_},
            kQuickMs, nullptr, false);
    return lastCode_ = codeOfExit(exit);
}

QString DialUpDialer::GetErrorText(int code) const
{
    QString text;
    switch (code) {
    case Success:
        text = QStringLiteral("The operation completed successfully.");
        break;
    case ErrorNoEntry:
        text = QStringLiteral("No phonebook entry is chosen.");
        break;
    case ErrorAlreadyDialing:
        text = QStringLiteral("The connection is already being dialled.");
        break;
    case ErrorPortDisconnected:
        text = QStringLiteral("The port was disconnected.");
        break;
    case ErrorPhonebook:
        text = QStringLiteral("The phonebook could not be used.");
        break;
    case ErrorEntryNotFound:
        text = QStringLiteral("The phonebook entry does not exist.");
        break;
    case ErrorFromDevice:
        text = QStringLiteral("The connection could not be brought up.");
        break;
    case ErrorEditor:
        text = QStringLiteral("The entry dialog ended without a change.");
        break;
    case ErrorNoService:
        text = QStringLiteral("Dial-up networking is not available (NetworkManager's nmcli).");
        break;
    case ErrorTimeout:
        text = QStringLiteral("The connection did not come up in time.");
        break;
    default:
        text = QStringLiteral("Dial-up networking error %1.").arg(code);
        break;
    }
    if (code != Success && code == lastCode_ && !lastDetail_.isEmpty())
        text += QStringLiteral(" (%1)").arg(lastDetail_);
    return text;
}
