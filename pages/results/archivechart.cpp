#include "archivechart.h"

#include "database.h"
#include "dialogservice.h"
#include "numbertext.h"
#include "pagehost.h"
#include "toolkitcolor.h"

#include <QActionGroup>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QSvgGenerator>
#include <QToolButton>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

TQZoomInfo::View TQZoomInfo::GetPreviousZoom()
{
    if (!steps_.empty())
        steps_.pop_back();
    return steps_.empty() ? origin_ : steps_.back();
}

namespace chartcolors {

namespace {
constexpr char kKey[] = "KVT515";
QString path(const char* key)
{
    return QStringLiteral("ArchiveChart/") + QLatin1String(key);
}
}  // namespace

std::uint32_t Read(const char* key, std::uint32_t fallback)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kKey);
    bool ok = false;
    const qlonglong value = settings.value(path(key)).toLongLong(&ok);
    if (!ok || value < 0 || value > std::numeric_limits<std::uint32_t>::max())
        return fallback;
    return static_cast<std::uint32_t>(value);
}

void Write(const char* key, std::uint32_t colour)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kKey);
    settings.setValue(path(key), static_cast<qlonglong>(colour));
    settings.sync();
}

std::uint32_t FromQColor(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

}  // namespace chartcolors

namespace {

// A plain colour of the toolkit; system and default colours fall back to the given one.
QColor plain(std::uint32_t colour, const QColor& fallback)
{
    const QColor c = toolkitcolor::toQColor(colour);
    return c.isValid() ? c : fallback;
}

void setLine(QLineSeries* series, double x0, double x1, const std::optional<double>& y)
{
    if (!y || !std::isfinite(*y)) {
        series->clear();
        return;
    }
    series->replace(QList<QPointF>{{x0, *y}, {x1, *y}});
    // One mark per line, at its right end.
    series->setPointConfiguration(0, QXYSeries::PointConfiguration::LabelVisibility, false);
}

}  // namespace

// The view owns the chart it is made with (setChart would leave a default one unowned).
TArchiveChart::TArchiveChart(PageHost& host, QWidget* parent)
        : QChartView(new QChart, parent), host_(host), chart_(chart())
{
    setObjectName(QStringLiteral("chartArchive"));
    setRenderHint(QPainter::Antialiasing, false);
    setRubberBand(QChartView::RectangleRubberBand);
    BuildChart();
    BuildPopupMenu();
    SetDataColour(chartcolors::Read(chartcolors::kDataKey, chartcolors::kData));
    SetStatsColour(chartcolors::Read(chartcolors::kStatsKey, chartcolors::kStats));
    SetBackgroundColour(chartcolors::Read(chartcolors::kBackgroundKey, chartcolors::kBackground));
}

TArchiveChart::~TArchiveChart() = default;

void TArchiveChart::BuildChart()
{
    chart_->setTitle(QStringLiteral("Archive Chart"));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    // Each entry is a piece of its line, in its colour and style: the solid average apart from
    // the dotted deviation and %RSD lines.
    chart_->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    axisX_ = new QValueAxis(chart_);
    axisY_ = new QValueAxis(chart_);
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
    }
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);

    const char* names[] = {"Series1", "Series2", "Series3", "Series4", "Series5"};
    const char* titles[] = {"", "Average", "Standard Deviation", "StdDev High", "%RSD"};
    for (std::size_t i = 0; i < series_.size(); ++i) {
        auto* series = new QLineSeries(chart_);
        series->setObjectName(QLatin1String(names[i]));
        series->setName(QLatin1String(titles[i]));
        chart_->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axisY_);
        if (i > 0) {
            series->setPointLabelsVisible(true);
            series->setPointLabelsFormat(QStringLiteral("@yPoint"));
            series->setPointLabelsClipping(false);
        }
        series_[i] = series;
    }
    series_[0]->setMarkerSize(7);
    for (int hidden : {0, 3})
        for (QLegendMarker* marker : chart_->legend()->markers(series_[static_cast<std::size_t>(hidden)]))
            marker->setVisible(false);

    foot_ = new QGraphicsSimpleTextItem(chart_);
    connect(chart_, &QGraphicsWidget::geometryChanged, this, &TArchiveChart::PlaceFoot);
    connect(chart_, &QChart::plotAreaChanged, this, &TArchiveChart::UpdateTrace);
    connect(axisX_, &QValueAxis::rangeChanged, this, &TArchiveChart::UpdateTrace);
    for (QValueAxis* axis : {axisX_, axisY_})
        connect(axis, &QValueAxis::rangeChanged, this, &TArchiveChart::UpdateTicks);
    connect(chart_, &QChart::plotAreaChanged, this, &TArchiveChart::UpdateTicks);
    SetRange(axisX_, 0, 1);
    SetRange(axisY_, 0, 1);
    PlaceFoot();
}

void TArchiveChart::BuildPopupMenu()
{
    popArchGraph_ = new QMenu(this);
    popArchGraph_->setObjectName(QStringLiteral("popArchGraph"));
    auto add = [this](QMenu* menu, const char* name, const QString& caption, auto slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        if constexpr (!std::is_same_v<decltype(slot), std::nullptr_t>)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };
    mnuShowEntireGraph_ = add(popArchGraph_, "mnuShowEntireGraph", QStringLiteral("Show Entire Graph"),
                              &TArchiveChart::mnuShowEntireGraphClick);
    mnuUndoLastZoom_ =
        add(popArchGraph_, "mnuUndoLastZoom", QStringLiteral("Undo Last Zoom"), &TArchiveChart::mnuUndoLastZoomClick);
    mnuAutoScale_ = add(popArchGraph_, "mnuAutoScale", QStringLiteral("Auto-Scale"), &TArchiveChart::mnuAutoScaleClick);
    QMenu* scale = popArchGraph_->addMenu(QStringLiteral("Set Scale"));
    scale->setObjectName(QStringLiteral("mnuSetScale"));
    add(scale, "mnuScaletoData", QStringLiteral("Scale to Data"), &TArchiveChart::mnuScaletoDataClick);
    add(scale, "mnuManual", QStringLiteral("Scale Manually"), &TArchiveChart::mnuManualClick);
    popArchGraph_->addSeparator();
    add(popArchGraph_, "mnuPrintChart", QStringLiteral("Print"), &TArchiveChart::mnuPrintChartClick);
    add(popArchGraph_, "mnuCopytoClipboard", QStringLiteral("Copy to Clipboard"),
        &TArchiveChart::mnuCopytoClipboardClick);
    popArchGraph_->addSeparator();
    QMenu* preferences = popArchGraph_->addMenu(QStringLiteral("Preferences"));
    preferences->setObjectName(QStringLiteral("mnuPreferences"));
    QMenu* trace = preferences->addMenu(QStringLiteral("Set Trace Color"));
    trace->setObjectName(QStringLiteral("mnuSetTraceColor"));
    add(trace, "mnuSetDataTraceColor", QStringLiteral("Data"), &TArchiveChart::mnuSetDataTraceColorClick);
    add(trace, "mnuSetStatsTraceColor", QStringLiteral("Statistics"), &TArchiveChart::mnuSetStatsTraceColorClick);
    add(preferences, "mnuSetBackgroundColor", QStringLiteral("Set Background Color"),
        &TArchiveChart::mnuSetBackgroundColorClick);
    add(preferences, "mnuResetDefaults", QStringLiteral("Reset Default Colors"), &TArchiveChart::mnuResetDefaultsClick);
    preferences->addSeparator();
    // Nothing in the program reads it: the chart scrolls one way.
    add(preferences, "mnuInvertScrolling", QStringLiteral("Invert Scrolling"), nullptr)->setCheckable(true);
    preferences->addSeparator();

    // The print options are plain choices: none checked prints in portrait over the whole page.
    QMenu* orientation = preferences->addMenu(QStringLiteral("Print Orientation"));
    orientation->setObjectName(QStringLiteral("mnuPrintOrientation"));
    auto* orientations = new QActionGroup(orientation);
    mnuPrintLandscape_ = add(orientation, "mnuPrintLandscape", QStringLiteral("Landscape"), nullptr);
    QAction* portrait = add(orientation, "mnuPrintPortrait", QStringLiteral("Portrait"), nullptr);
    QMenu* sizing = preferences->addMenu(QStringLiteral("Print Sizing"));
    sizing->setObjectName(QStringLiteral("mnuPrintSizing"));
    auto* sizings = new QActionGroup(sizing);
    QAction* fit = add(sizing, "mnuPrintFitToPage", QStringLiteral("Fit to Page"), nullptr);
    mnuPrintKeepScreenProportion_ =
        add(sizing, "mnuPrintKeepScreenProportion", QStringLiteral("Keep Screen Proportion"), nullptr);
    for (QAction* a : {mnuPrintLandscape_, portrait})
        orientations->addAction(a)->setCheckable(true);
    for (QAction* a : {fit, mnuPrintKeepScreenProportion_})
        sizings->addAction(a)->setCheckable(true);

    ShowZoomTools(false);
}

void TArchiveChart::SetToolButtons(QToolButton* autoScale, QToolButton* fullGraph)
{
    tbtnAutoScale_ = autoScale;
    tbtnFullGraph_ = fullGraph;
    ShowZoomTools(zoomInfo_.GetZoomLevel() > 0);
}

void TArchiveChart::ShowZoomTools(bool shown)
{
    mnuUndoLastZoom_->setVisible(shown);
    mnuShowEntireGraph_->setVisible(shown);
    mnuAutoScale_->setVisible(shown);
    if (tbtnFullGraph_)
        tbtnFullGraph_->setEnabled(shown);
    if (tbtnAutoScale_)
        tbtnAutoScale_->setEnabled(shown);
}

QString TArchiveChart::FootText() const
{
    return foot_->text();
}

QString TArchiveChart::TitleText() const
{
    return chart_->title();
}

TQZoomInfo::View TArchiveChart::CurrentView() const
{
    return {axisX_->min(), axisX_->max(), axisY_->min(), axisY_->max()};
}

void TArchiveChart::SetRange(QValueAxis* axis, double minimum, double maximum)
{
    if (!(maximum > minimum)) {
        // A range of no height (one value) is drawn around it.
        const double half = minimum != 0 ? std::abs(minimum) * 0.06 : 1.0;
        minimum -= half;
        maximum += half;
    }
    axis->setRange(minimum, maximum);
}

void TArchiveChart::PlaceFoot()
{
    const QRectF area = chart_->rect();
    const QRectF text = foot_->boundingRect();
    const int room = static_cast<int>(std::ceil(text.height())) + 8;
    QMargins margins = chart_->margins();
    if (margins.bottom() != room) {
        margins.setBottom(room);
        chart_->setMargins(margins);
    }
    foot_->setPos(area.left() + (area.width() - text.width()) / 2, area.bottom() - text.height() - 4);
}

void TArchiveChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    PlaceFoot();
}

void TArchiveChart::Plot(const QString& title, const chartstats::Column& column, bool markers)
{
    chart_->setTitle(title);
    data_ = column.points;
    sorted_ =
        std::is_sorted(data_.begin(), data_.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    allShown_ = false;
    series_[0]->clear();
    series_[0]->setPointsVisible(markers);

    stats_ = chartstats::Compute(column.samples);
    foot_->setText(chartstats::FootText(stats_));
    double x0 = 0, x1 = 0;
    if (!column.points.isEmpty()) {
        const auto [lo, hi] = std::minmax_element(column.points.begin(), column.points.end(),
                                                  [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
        x0 = lo->x();
        x1 = hi->x();
    }
    setLine(series_[1], x0, x1, stats_.mean);
    setLine(series_[2], x0, x1, stats_.stdDev ? std::optional<double>(*stats_.mean - *stats_.stdDev) : std::nullopt);
    setLine(series_[3], x0, x1, stats_.stdDev ? std::optional<double>(*stats_.mean + *stats_.stdDev) : std::nullopt);
    setLine(series_[4], x0, x1, stats_.rsd);

    autoX_ = true;
    autoY_ = true;
    ApplyAutomatic();
    UpdateTrace();
    PlaceFoot();
}

void TArchiveChart::UpdateTicks()
{
    const QRectF area = chart_->plotArea();
    struct Axis {
        QValueAxis* axis;
        double pixels;
        double pixelsPerTick;
        bool whole;
    };
    for (const Axis& a : {Axis{axisX_, area.width(), 90, true}, Axis{axisY_, area.height(), 40, false}}) {
        const double span = a.axis->max() - a.axis->min();
        const double ticks = std::max(2.0, std::floor(a.pixels / a.pixelsPerTick));
        const double step = chartstats::NiceStep(span / ticks, a.whole);
        if (a.axis->tickInterval() != step)
            a.axis->setTickInterval(step);
        const QString format = QStringLiteral("%.%1f").arg(chartstats::StepDecimals(step));
        if (a.axis->labelFormat() != format)
            a.axis->setLabelFormat(format);
    }
}

void TArchiveChart::ColourLegend()
{
    // The chart package leaves a marker's pen black whatever its series' pen.
    for (QLineSeries* series : series_)
        for (QLegendMarker* marker : chart_->legend()->markers(series)) {
            marker->setPen(series->pen());
            marker->setBrush(series->pen().color());
        }
}

void TArchiveChart::UpdateTrace()
{
    // A line through many more points than the plot has pixel columns draws the same as one
    // through each column's first, lowest, highest and last point, in their order: drawing
    // 100,000 points costs far more than finding those.
    const int columns = std::max(1, static_cast<int>(chart_->plotArea().width()));
    const double lo = axisX_->min(), hi = axisX_->max();
    if (!sorted_ || data_.size() <= 4 * columns || !(hi > lo)) {
        if (!allShown_) {
            series_[0]->replace(data_);
            allShown_ = true;
        }
        return;
    }
    const auto byX = [](const QPointF& p, double x) { return p.x() < x; };
    qsizetype first = std::lower_bound(data_.begin(), data_.end(), lo, byX) - data_.begin();
    qsizetype last =
        std::upper_bound(data_.begin(), data_.end(), hi, [](double x, const QPointF& p) { return x < p.x(); }) -
        data_.begin() - 1;
    // One point beyond each edge carries the line to the border.
    first = std::max<qsizetype>(0, first - 1);
    last = std::min<qsizetype>(data_.size() - 1, last + 1);
    QList<QPointF> shown;
    shown.reserve(4 * columns + 8);
    const double scale = columns / (hi - lo);
    qsizetype i = first;
    while (i <= last) {
        const double bucket = std::floor((data_[i].x() - lo) * scale);
        qsizetype end = i, low = i, high = i;
        while (end + 1 <= last && std::floor((data_[end + 1].x() - lo) * scale) == bucket) {
            ++end;
            if (data_[end].y() < data_[low].y())
                low = end;
            if (data_[end].y() > data_[high].y())
                high = end;
        }
        qsizetype picks[] = {i, low, high, end};
        std::sort(std::begin(picks), std::end(picks));
        qsizetype previous = -1;
        for (qsizetype p : picks)
            if (p != previous) {
                shown.append(data_[p]);
                previous = p;
            }
        i = end + 1;
    }
    series_[0]->replace(shown);
    allShown_ = false;
}

void TArchiveChart::ApplyAutomatic()
{
    // The automatic range holds every series, as the lines of the statistics are drawn on the
    // value axis too.
    double xMin = std::numeric_limits<double>::infinity(), xMax = -xMin;
    double yMin = xMin, yMax = -xMin;
    for (std::size_t s = 0; s < series_.size(); ++s) {
        const QList<QPointF> points = s == 0 ? data_ : series_[s]->points();
        for (const QPointF& p : points) {
            xMin = std::min(xMin, p.x());
            xMax = std::max(xMax, p.x());
            yMin = std::min(yMin, p.y());
            yMax = std::max(yMax, p.y());
        }
    }
    if (xMin > xMax) {
        xMin = yMin = 0;
        xMax = yMax = 1;
    }
    if (autoX_)
        SetRange(axisX_, xMin, xMax);
    if (autoY_)
        SetRange(axisY_, yMin, yMax);
}

int TArchiveChart::FirstVisibleIndex() const
{
    const double lo = axisX_->min(), hi = axisX_->max();
    const int n = static_cast<int>(data_.size());
    for (int i = 0; i < n; ++i) {
        const double x = data_[i].x();
        if (x >= lo && x <= hi)
            return i;
    }
    return -1;
}

int TArchiveChart::LastVisibleIndex() const
{
    const double lo = axisX_->min(), hi = axisX_->max();
    for (int i = static_cast<int>(data_.size()) - 1; i >= 0; --i) {
        const double x = data_[i].x();
        if (x >= lo && x <= hi)
            return i;
    }
    return -1;
}

void TArchiveChart::ZoomTo(double xMin, double xMax, double yMin, double yMax)
{
    if (zoomInfo_.GetZoomLevel() == 0)
        zoomInfo_.SetOrigin(CurrentView());
    autoX_ = false;
    autoY_ = false;
    SetRange(axisX_, xMin, xMax);
    SetRange(axisY_, yMin, yMax);
    chartArchiveZoom();
}

void TArchiveChart::chartArchiveZoom()
{
    zoomInfo_.AddZoom(CurrentView());
    ShowZoomTools(true);
}

void TArchiveChart::ClickZoom(QPointF value)
{
    const int first = FirstVisibleIndex();
    if (first < 0 || LastVisibleIndex() - first + 1 <= 3)
        return;
    const TQZoomInfo::View v = CurrentView();
    const double x = value.x(), y = value.y();
    if (x < v.xMin || x > v.xMax || y < v.yMin || y > v.yMax)
        return;
    const double dx = v.xMax - v.xMin, dy = v.yMax - v.yMin;
    ZoomTo(x - 0.25 * dx, x + 0.25 * dx, y - 0.25 * dy, y + 0.25 * dy);
}

void TArchiveChart::tbtnZoomModeClick(bool down)
{
    zoomMode_ = down;
    if (down)
        viewport()->setCursor(Qt::CrossCursor);
    else
        viewport()->unsetCursor();
}

void TArchiveChart::mnuUndoLastZoomClick()
{
    if (zoomInfo_.GetZoomLevel() <= 0) {
        mnuShowEntireGraphClick();
        return;
    }
    const TQZoomInfo::View r = zoomInfo_.GetPreviousZoom();
    autoX_ = false;
    autoY_ = false;
    SetRange(axisX_, r.xMin, r.xMax);
    SetRange(axisY_, r.yMin, r.yMax);
}

void TArchiveChart::mnuShowEntireGraphClick()
{
    ShowZoomTools(false);
    autoX_ = true;
    autoY_ = true;
    ApplyAutomatic();
    zoomInfo_.ClearZoomInfo();
}

void TArchiveChart::AutoScale(bool fromToolbar)
{
    const int first = FirstVisibleIndex();
    const int last = LastVisibleIndex();
    if (first < 0 || last < 0 || (fromToolbar && last - first == 0))
        return;
    const int span = last - first;
    int step = 12;
    if (span < 10000)
        step = 8;
    if (span < 4000)
        step = 4;
    if (span < 1500)
        step = 2;
    if (span < 500)
        step = 1;
    double lo = data_[first].y();
    double hi = lo;
    for (int i = first; i <= last; i += step) {
        const double y = data_[i].y();
        lo = std::min(lo, y);
        hi = std::max(hi, y);
    }
    const double margin = (hi - lo) * 0.06;
    ZoomTo(axisX_->min(), axisX_->max(), lo - margin, hi + margin);
}

void TArchiveChart::mnuScaletoDataClick()
{
    autoY_ = true;
    ApplyAutomatic();
}

void TArchiveChart::mnuManualClick()
{
    const std::optional<std::pair<QString, QString>> texts = host_.AskScale();
    if (!texts)
        return;
    double minimum = 0, maximum = 0;
    try {
        minimum = numtext::StrToFloat(texts->first.toStdString());
        maximum = numtext::StrToFloat(texts->second.toStdString());
    } catch (const std::exception& e) {
        DialogService::showMessage(QString::fromStdString(e.what()));
        return;
    }
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || !(minimum < maximum)) {
        DialogService::showMessage(QStringLiteral("The minimum must be less than the maximum."));
        return;
    }
    autoY_ = false;
    axisY_->setRange(minimum, maximum);
    if (tbtnAutoScale_)
        tbtnAutoScale_->setEnabled(true);
}

void TArchiveChart::mnuPrintChartClick()
{
    QPrinter* printer = printer_;
    if (!printer) {
        if (!defaultPrinter_)
            defaultPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = defaultPrinter_.get();
    }
    const QPageLayout::Orientation saved = printer->pageLayout().orientation();
    printer->setPageOrientation(mnuPrintLandscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (DialogService::instance()->execDialog(dialog) != QDialog::Accepted) {
        printer->setPageOrientation(saved);
        return;
    }

    QPainter painter;
    bool printed = printer->isValid() && painter.begin(printer);
    if (printed) {
        const int pageW = printer->width() - 1;
        const int pageH = printer->height() - 1;
        QRect target(0, 0, pageW, pageH);
        const int chartW = std::max(1, width());
        const int chartH = std::max(1, height());
        if (mnuPrintKeepScreenProportion_->isChecked()) {
            if (static_cast<qint64>(chartH) * pageW > static_cast<qint64>(pageH) * chartW) {
                const int w = static_cast<int>(static_cast<qint64>(chartW) * pageH / chartH);
                target = QRect((pageW - w) / 2, 0, w, pageH);
            } else {
                const int h = static_cast<int>(static_cast<qint64>(chartH) * pageW / chartW);
                target = QRect(0, (pageH - h) / 2, pageW, h);
            }
        }
        render(&painter, QRectF(target), viewport()->rect(), Qt::IgnoreAspectRatio);
        printed = painter.end() && printer->printerState() != QPrinter::Error;
    }
    printer->setPageOrientation(saved);
    if (!printed)
        DialogService::warn(QStringLiteral("The chart could not be printed."));
}

void TArchiveChart::mnuCopytoClipboardClick()
{
    // The chart as a vector picture (image/svg+xml) that documents and drawing programs scale
    // without loss, and beside it the picture as drawn (image/png and the platform's image types)
    // for programs that take only pictures.
    QByteArray svg;
    QBuffer svgBuffer(&svg);
    QSvgGenerator generator;
    generator.setOutputDevice(&svgBuffer);
    generator.setSize(viewport()->size());
    generator.setResolution(logicalDpiX());
    generator.setViewBox(QRect(QPoint(0, 0), viewport()->size()));
    generator.setTitle(chart_->title());
    QPainter painter(&generator);
    render(&painter, QRectF(QPointF(0, 0), viewport()->size()), viewport()->rect(), Qt::IgnoreAspectRatio);
    painter.end();

    const QImage image = grab().toImage();
    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    image.save(&pngBuffer, "PNG");

    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), svg);
    data->setData(QStringLiteral("image/png"), png);
    data->setImageData(image);
    QApplication::clipboard()->setMimeData(data);
}

bool TArchiveChart::ChooseColour(std::uint32_t& colour)
{
    if (!colorDialog_) {
        colorDialog_ = new QColorDialog(this);
        colorDialog_->setObjectName(QStringLiteral("ColorDialog"));
    }
    if (DialogService::instance()->execDialog(*colorDialog_) != QDialog::Accepted)
        return false;
    colour = chartcolors::FromQColor(colorDialog_->currentColor());
    return true;
}

void TArchiveChart::SetDataColour(std::uint32_t colour)
{
    QPen pen = series_[0]->pen();
    pen.setColor(plain(colour, Qt::red));
    series_[0]->setPen(pen);
    series_[0]->setColor(pen.color());
    ColourLegend();
}

void TArchiveChart::SetStatsColour(std::uint32_t colour)
{
    const QColor c = plain(colour, Qt::blue);
    for (std::size_t i = 1; i < series_.size(); ++i) {
        QPen pen(c);
        pen.setStyle(i == 1 ? Qt::SolidLine : Qt::DotLine);
        series_[i]->setPen(pen);
        series_[i]->setPointLabelsColor(c);
    }
    ColourLegend();
}

void TArchiveChart::SetBackgroundColour(std::uint32_t colour)
{
    // The default colour is the chart's own background.
    chart_->setBackgroundBrush(QBrush(plain(colour, Qt::white)));
}

void TArchiveChart::mnuSetDataTraceColorClick()
{
    std::uint32_t colour = 0;
    if (!ChooseColour(colour))
        return;
    SetDataColour(colour);
    chartcolors::Write(chartcolors::kDataKey, colour);
}

void TArchiveChart::mnuSetStatsTraceColorClick()
{
    std::uint32_t colour = 0;
    if (!ChooseColour(colour))
        return;
    SetStatsColour(colour);
    chartcolors::Write(chartcolors::kStatsKey, colour);
}

void TArchiveChart::mnuSetBackgroundColorClick()
{
    std::uint32_t colour = 0;
    if (!ChooseColour(colour))
        return;
    SetBackgroundColour(colour);
    chartcolors::Write(chartcolors::kBackgroundKey, colour);
}

void TArchiveChart::mnuResetDefaultsClick()
{
    SetDataColour(chartcolors::kData);
    SetStatsColour(chartcolors::kStats);
    SetBackgroundColour(chartcolors::kBackground);
    chartcolors::Write(chartcolors::kDataKey, chartcolors::kData);
    chartcolors::Write(chartcolors::kStatsKey, chartcolors::kStats);
    chartcolors::Write(chartcolors::kBackgroundKey, chartcolors::kBackground);
}

// Mouse: a left click in zoom mode (or with Shift) zooms in, a right one undoes; otherwise the
// left button drags a zoom rectangle and the right one scrolls, or opens the menu when it did not.

void TArchiveChart::mousePressEvent(QMouseEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (FirstVisibleIndex() >= 0 && (shift || zoomMode_)) {
        if (event->button() == Qt::LeftButton)
            ClickZoom(chart_->mapToValue(chart_->mapFromScene(mapToScene(event->position().toPoint())), series_[0]));
        else if (event->button() == Qt::RightButton)
            mnuUndoLastZoomClick();
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        rememberedXMin_ = axisX_->min();
        rememberedYMin_ = axisY_->min();
        scrolling_ = true;
        lastPos_ = event->position().toPoint();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        beforeRubberBand_ = CurrentView();
        rubberBandArmed_ = true;
    }
    QChartView::mousePressEvent(event);
}

void TArchiveChart::mouseMoveEvent(QMouseEvent* event)
{
    if (scrolling_ && (event->buttons() & Qt::RightButton)) {
        const QPoint delta = event->position().toPoint() - lastPos_;
        lastPos_ = event->position().toPoint();
        if (!delta.isNull()) {
            autoX_ = false;
            autoY_ = false;
            chart_->scroll(-delta.x(), delta.y());
        }
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void TArchiveChart::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        scrolling_ = false;
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        if (!(shift && zoomMode_) && axisX_->min() == rememberedXMin_ && axisY_->min() == rememberedYMin_)
            ShowPopup(event->position().toPoint());
        event->accept();
        return;
    }
    const bool armed = rubberBandArmed_ && event->button() == Qt::LeftButton;
    if (event->button() == Qt::LeftButton)
        rubberBandArmed_ = false;
    QChartView::mouseReleaseEvent(event);
    if (armed && !(CurrentView() == beforeRubberBand_)) {
        // The rubber band zoomed: a step of the history like any other.
        if (zoomInfo_.GetZoomLevel() == 0)
            zoomInfo_.SetOrigin(beforeRubberBand_);
        autoX_ = false;
        autoY_ = false;
        chartArchiveZoom();
    }
}

void TArchiveChart::ShowPopup(const QPoint& pos)
{
    popArchGraph_->popup(mapToGlobal(pos));
}
