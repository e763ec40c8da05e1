#pragma once

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QAction;
class QProgressBar;
class QPushButton;
class QTimer;

// One item of the upgrade checklist: the label that shows it, its state (0 idle, 1 in progress,
// 2 done) and its sub-steps.
class Step {
public:
    enum State : std::uint8_t { Idle = 0, InProgress = 1, Done = 2 };

    explicit Step(QLabel* label) : label_(label) {}
    void AddSubStep(std::unique_ptr<Step> step) { subSteps_.push_back(std::move(step)); }
    void SetState(std::uint8_t state) { state_ = state; }
    std::uint8_t GetState() const { return state_; }
    QLabel* GetLabel() const { return label_; }
    int GetSubStepCount() const { return static_cast<int>(subSteps_.size()); }
    // Raises std::out_of_range for an index past the list.
    Step* GetSubStep(int index) const { return subSteps_.at(static_cast<std::size_t>(index)).get(); }
    void DeleteSubSteps() { subSteps_.clear(); }

private:
    // The labels belong to the upgrade window; a step outliving it paints nothing.
    QPointer<QLabel> label_;
    std::uint8_t state_ = Idle;
    std::vector<std::unique_ptr<Step>> subSteps_;
};

// The upgrade checklist: the three stages of a firmware change, each with its sub-steps.
class CommandLine {
public:
    // Label colours, as the toolkit's 0x00BBGGRR values.
    static constexpr std::uint32_t kIdleColour = 0x000000;
    static constexpr std::uint32_t kBlinkColour = 0x00FFFF;
    static constexpr std::uint32_t kDoneColour = 0xFF0000;

    static CommandLine* Instance();

    void AddStep(std::unique_ptr<Step> step) { steps_.push_back(std::move(step)); }
    int GetStepCount() const { return static_cast<int>(steps_.size()); }
    Step* GetStep(int index) const { return steps_.at(static_cast<std::size_t>(index)).get(); }
    void DeleteSteps() { steps_.clear(); }

    // Sets step s (and sub-step k, or all of them for -1) to the state and paints the labels:
    // done turns them blue, idle black; in progress is left to the blink. An index that does not
    // exist changes nothing.
    void SetStepState(int s, int k, std::uint8_t state);

    static void Paint(QLabel* label, std::uint32_t colour);
    // The toolkit colour a label was last painted with.
    static std::uint32_t PaintedColour(const QLabel* label);

private:
    std::vector<std::unique_ptr<Step>> steps_;
};

// Where the upgrade reaches the configuration files: saving the unit's configuration as
// "OldConfig.cfg" before the firmware changes and loading it back afterwards. Until the main
// window's configuration-file operations are connected here, both report that they are not
// available (false) and touch nothing.
struct UpgradeConfigFiles {
    // Saves the unit's configuration under the absolute path; false when it was not saved.
    std::function<bool(const QString& path)> save;
    // Loads the configuration file at the absolute path into the database; false on failure.
    std::function<bool(const QString& path)> load;

    bool Available() const { return save && load; }
    bool Save(const QString& path) const { return save && save(path); }
    bool Load(const QString& path) const { return load && load(path); }

    static UpgradeConfigFiles& Instance();
};

// The upgrade status window "Upgrade": the checklist of a firmware change, blinking what is in
// progress, and the stages reached, kept in "UpgradeStatus.dat" across restarts of the program.
class TfmUpgrade : public QWidget {
    Q_OBJECT
public:
    static constexpr char kStatusFile[] = "UpgradeStatus.dat";
    static constexpr char kOldConfigFile[] = "OldConfig.cfg";
    static constexpr int kBlinkMs = 1000;

    explicit TfmUpgrade(QWidget* parent = nullptr);
    ~TfmUpgrade() override;

    // 0 written; 1 the file cannot be opened; 2 an error while writing.
    int WriteStatusFile(const QString& path);
    // 0 read; 1 the file cannot be opened (it is then written from the current flags); 3 an
    // error while reading.
    int ReadStatusFile(const QString& path);

    // Stages 1-3: old configuration saved, firmware written and verified, merged.
    bool StageFlag(int stage) const { return stageFlags_.at(static_cast<std::size_t>(stage - 1)) != 0; }
    void SetStageFlag(int stage, bool set) { stageFlags_.at(static_cast<std::size_t>(stage - 1)) = set ? 1 : 0; }
    bool AskOnHide() const { return askOnHide_ != 0; }
    void SetAskOnHide(bool ask) { askOnHide_ = ask ? 1 : 0; }

    void Timer1Timer();
    void Hide1Click();
    void HideBClick();
    // Shows the background, then this window above it.
    void ShowWithBackground();
    // Hides this window, then the background, and clears the menu item's check mark.
    void HideWithBackground();

    QProgressBar* Progress() const { return progress_; }
    QTimer* Timer1() const { return timer_; }
    QMenu* PopupMenu1() const { return popup_; }
    QLabel* Label(const char* name) const;

    // The blink phase shared by every blink; false at start.
    static bool BlinkPhase();
    static void ResetBlinkPhase();

public slots:
    // True when the saved status records a stage: the window is then shown at start.
    bool IsStagePending() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void BuildSteps();

    CommandLine* checklist_ = nullptr;
    std::array<std::uint8_t, 3> stageFlags_{};
    std::uint8_t askOnHide_ = 0;
    QLabel* title_ = nullptr;
    QLabel* write_ = nullptr;
    QLabel* verify_ = nullptr;
    QLabel* reboot_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* hideButton_ = nullptr;
    QTimer* timer_ = nullptr;
    QMenu* popup_ = nullptr;
};

// The semi-transparent background shown behind the upgrade window.
class TBack : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 615;
    static constexpr int kHeight = 161;
    static constexpr double kOpacity = 200.0 / 255.0;

    explicit TBack(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};
