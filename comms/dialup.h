#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QProcess;
class QTimer;

// The dial-up networking dialer over NetworkManager: the phonebook's entries are NetworkManager's
// connections (or the entries of a phonebook file), dialling an entry brings its connection up
// with nmcli, hanging up takes it down. The entry dialogs are NetworkManager's connection
// editor. Every call to nmcli is bounded in time; results are codes with texts, as the dial-up
// networking interface gives them.
class DialUpDialer : public QObject {
    Q_OBJECT
public:
    enum Code {
        Success = 0,
        ErrorNoEntry = 87,            // no entry chosen
        ErrorPortDisconnected = 619,  // the dial was ended by a hang-up
        ErrorPhonebook = 621,         // the phonebook could not be read or written
        ErrorEntryNotFound = 623,
        ErrorAlreadyDialing = 602,
        ErrorFromDevice = 651,  // the connection could not be brought up
        ErrorEditor = 668,      // the entry dialog failed or was cancelled
        ErrorNoService = 711,   // nmcli missing or NetworkManager not running
        ErrorTimeout = 718,
    };

    // The phonebook text that stands for NetworkManager's own connections.
    static constexpr const char* kDefaultPhonebook = "Default";

    explicit DialUpDialer(QObject* parent = nullptr);
    ~DialUpDialer() override;

    // Empty or "Default": NetworkManager's connections; otherwise a phonebook file whose
    // [sections] name the entries.
    void setPhonebook(const QString& phonebook) { phonebook_ = phonebook; }
    QString phonebook() const { return phonebook_; }
    void setEntryName(const QString& entry) { entryName_ = entry; }
    QString entryName() const { return entryName_; }

    // Starts bringing the entry's connection up: 0 when dialling has begun (the outcome arrives
    // as connected or dialError), else a Code.
    int Dial();
    // Ends a dial under way (dialError 619) or takes a connection down (disconnected).
    void Hangup();
    bool isDialing() const;
    bool isConnected() const { return connected_; }
    // Asks NetworkManager whether the connection dialled is still up; clears isConnected when not.
    bool confirmConnected();

    // The entries of the phonebook, in its order; the list is replaced only on success.
    int ListEntries(QStringList& entries);
    int CreatePhonebookEntry();
    int EditPhonebookEntry();
    int DeletePhonebookEntry();
    // The text of a code; for the last failure it carries what nmcli said.
    QString GetErrorText(int code) const;

    // How long a connection may take to come up, in seconds (handed to nmcli as --wait).
    void setDialTimeoutSeconds(int seconds) { dialTimeoutSeconds_ = seconds; }
    int dialTimeoutSeconds() const { return dialTimeoutSeconds_; }
    // The longest Dial's outcome can take.
    qint64 worstCaseMs() const;

signals:
    void connected();
    void disconnected();
    void dialError(int code);

private:
    bool usesFilePhonebook() const;
    // True, with the error set, when the phonebook is a file.
    bool refuseFilePhonebookEdit();
    // Runs nmcli (or another program) to its end, at most timeoutMs: its exit code, or -1 when
    // it could not be started, -2 when it took too long.
    int run(const QString& program, const QStringList& args, int timeoutMs, QString* out, bool pump);
    int codeOfExit(int exitCode) const;
    void dialFinished(int exitCode);
    // Takes the entry's connection down; the last code and its detail stay as they were.
    void takeDown();

    QString phonebook_;
    QString entryName_;
    QProcess* dial_ = nullptr;
    QTimer* dialBound_ = nullptr;
    bool connected_ = false;
    bool hangingUp_ = false;
    int dialTimeoutSeconds_ = 60;
    int lastCode_ = 0;
    QString lastDetail_;
};
