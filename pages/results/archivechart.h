#pragma once

#include "chartstats.h"

#include <QChartView>
#include <QPointF>
#include <QRectF>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class PageHost;
class QAction;
class QColor;
class QColorDialog;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QMenu;
class QPrinter;
class QToolButton;
class QValueAxis;

// The archive chart's zoom history: each zoom records the view it led to; undoing a step returns
// to the view before it, down to the view the first zoom started from.
class TQZoomInfo {
public:
    struct View {
        double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
        bool operator==(const View& o) const
        {
            return xMin == o.xMin && xMax == o.xMax && yMin == o.yMin && yMax == o.yMax;
        }
    };

    // The view before the first step; kept until the history is emptied.
    void SetOrigin(const View& view) { origin_ = view; }
    void AddZoom(const View& view) { steps_.push_back(view); }
    // The number of steps that can be undone.
    int GetZoomLevel() const { return static_cast<int>(steps_.size()); }
    // Steps back one level and returns the view to return to (the origin for the first step).
    View GetPreviousZoom();
    void ClearZoomInfo() { steps_.clear(); }

private:
    View origin_;
    std::vector<View> steps_;
};

// The toolkit colours (0x00BBGGRR) of the chart, kept under "KVT515", section "ArchiveChart".
namespace chartcolors {
constexpr std::uint32_t kData = 0x0000FF;
constexpr std::uint32_t kStats = 0xFF0000;
constexpr std::uint32_t kBackground = 0x20000000;  // the chart's default
constexpr char kDataKey[] = "TraceColorData";
constexpr char kStatsKey[] = "TraceColorStats";
constexpr char kBackgroundKey[] = "BackgroundColor";
// The stored value, or the fallback when none is stored or it is no colour.
std::uint32_t Read(const char* key, std::uint32_t fallback);
void Write(const char* key, std::uint32_t colour);
std::uint32_t FromQColor(const QColor& colour);
}  // namespace chartcolors

// The Graph tab's chart ("chartArchive"): one grid column as a trace ("Series1") with its mean
// ("Series2", "Average") and three lines ("Series3" mean - s, "Series4" mean + s, "Series5" %RSD),
// the statistics in the foot, zoom by click with an undo history, rubber-band zoom with the left
// button and scrolling with the right, Y scaling, printing, copying and the colours. Manual
// scaling asks through its page's host, which must outlive the chart.
class TArchiveChart : public QChartView {
    Q_OBJECT
public:
    explicit TArchiveChart(PageHost& host, QWidget* parent = nullptr);
    ~TArchiveChart() override;

    // The toolbar's Auto-Scale and Show Entire Graph buttons, switched with the zoom state.
    void SetToolButtons(QToolButton* autoScale, QToolButton* fullGraph);
    // The printer used instead of the default one (tests print to a PDF file).
    void SetPrinter(QPrinter* printer) { printer_ = printer; }

    // Plots the points with their statistics under the title; markers show each point.
    void Plot(const QString& title, const chartstats::Column& column, bool markers);

    QLineSeries* Series(int index) const { return series_.at(static_cast<std::size_t>(index)); }
    // The data trace's points, all of them ("Series1" draws the ones that show at this range).
    const QList<QPointF>& Points() const { return data_; }
    QValueAxis* AxisX() const { return axisX_; }
    QValueAxis* AxisY() const { return axisY_; }
    TQZoomInfo::View CurrentView() const;
    const chartstats::Stats& Statistics() const { return stats_; }
    QString FootText() const;
    QString TitleText() const;
    QMenu* PopupMenu() const { return popArchGraph_; }
    const TQZoomInfo& ZoomInfo() const { return zoomInfo_; }
    bool ZoomMode() const { return zoomMode_; }

    // The data trace's first and last point within the X axis's range, -1 when none.
    int FirstVisibleIndex() const;
    int LastVisibleIndex() const;

    // A left click (in zoom mode or with Shift) at a point in axis values: the view halves
    // around it when it lies within the axes and more than 3 points are visible.
    void ClickZoom(QPointF value);

public slots:
    void tbtnZoomModeClick(bool down);
    void mnuUndoLastZoomClick();
    void mnuShowEntireGraphClick();
    void tbtnAutoScaleClick() { AutoScale(true); }
    void mnuAutoScaleClick() { AutoScale(false); }
    void mnuScaletoDataClick();
    void mnuManualClick();
    void mnuPrintChartClick();
    void mnuCopytoClipboardClick();
    void mnuSetDataTraceColorClick();
    void mnuSetStatsTraceColorClick();
    void mnuSetBackgroundColorClick();
    void mnuResetDefaultsClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildChart();
    void BuildPopupMenu();
    void AutoScale(bool fromToolbar);
    // Sets the view (automatic off on both axes) as a zoom: recorded in the history.
    void ZoomTo(double xMin, double xMax, double yMin, double yMax);
    void chartArchiveZoom();
    // Applies the automatic range to the axes whose automatic flag is set.
    void ApplyAutomatic();
    void SetRange(QValueAxis* axis, double minimum, double maximum);
    void PlaceFoot();
    // Gives "Series1" the points that draw the trace at the current X range and plot width.
    void UpdateTrace();
    // Ticks at a step of 1, 2 or 5 times a power of ten for the range shown: whole sequence
    // numbers on X, values with the decimals their step needs on Y.
    void UpdateTicks();
    // The legend's markers drawn with their series' pens.
    void ColourLegend();
    void SetDataColour(std::uint32_t colour);
    void SetStatsColour(std::uint32_t colour);
    void SetBackgroundColour(std::uint32_t colour);
    bool ChooseColour(std::uint32_t& colour);
    void ShowZoomTools(bool shown);
    void ShowPopup(const QPoint& pos);

    PageHost& host_;
    QChart* chart_;
    std::array<QLineSeries*, 5> series_{};
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QGraphicsSimpleTextItem* foot_ = nullptr;
    chartstats::Stats stats_;
    QList<QPointF> data_;
    bool sorted_ = true;
    bool allShown_ = false;
    bool autoX_ = true;
    bool autoY_ = true;

    TQZoomInfo zoomInfo_;
    bool zoomMode_ = false;
    double rememberedXMin_ = 0;
    double rememberedYMin_ = 0;
    bool scrolling_ = false;
    QPoint lastPos_;
    TQZoomInfo::View beforeRubberBand_;
    bool rubberBandArmed_ = false;

    QMenu* popArchGraph_ = nullptr;
    QAction* mnuShowEntireGraph_ = nullptr;
    QAction* mnuUndoLastZoom_ = nullptr;
    QAction* mnuAutoScale_ = nullptr;
    QAction* mnuPrintLandscape_ = nullptr;
    QAction* mnuPrintKeepScreenProportion_ = nullptr;
    QToolButton* tbtnAutoScale_ = nullptr;
    QToolButton* tbtnFullGraph_ = nullptr;
    QColorDialog* colorDialog_ = nullptr;
    QPrinter* printer_ = nullptr;
    std::unique_ptr<QPrinter> defaultPrinter_;
};
