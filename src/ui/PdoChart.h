#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class CFieldGroup;
class CFieldGroupList;
struct SPdoNames;

// One PDO as the chart reads it: the answers that draw it in mV, mA and mW, -1 for an answer not
// given or not asked for its supply type.
struct SPdoAnswers {
    int number = 0;
    int supplyType = -1;
    long long voltage = -1;
    long long current = -1;
    long long minVoltage = -1;
    long long maxVoltage = -1;
    long long power = -1;
    bool valid = true;
};

// A point of the chart in volts across and amperes up.
struct SChartPoint {
    double volts = 0;
    double amps = 0;
};

// What the chart draws of one PDO: a Fixed supply a bar at its voltage up to its current, a
// Variable one a box over its voltage range up to its current, a Battery the curve power / voltage
// over its range. `outline` runs from the voltage axis up and over and, for a bar and a box, back
// down to it; a PDO short of an answer it needs has no outline.
struct SPdoShape {
    enum class EKind { Missing, Bar, Box, Curve };
    int number = 0;
    EKind kind = EKind::Missing;
    std::vector<SChartPoint> outline;
    SChartPoint label; // where its number stands: above the top of the shape
    bool valid = true;
    bool selected = false;
};

// The chart's axes: 0 to 21 V across, 0 to 5 A up. A shape beyond them is cut at their edge.
constexpr double kChartMaxVolts = 21.0;
constexpr double kChartMaxAmps = 5.0;

// The shapes of `pdos`, in their order; `selected` is an index into them, or -1.
std::vector<SPdoShape> PdoShapes(const std::vector<SPdoAnswers>& pdos, int selected);

// The answers of one PDO group read with its type's names; `number` is the position the chart shows.
SPdoAnswers PdoAnswersOf(const SPdoNames& names, const CFieldGroup& pdo, int number);
// Every PDO of `list`, valid as its list line shows it.
std::vector<SPdoAnswers> PdoAnswersOf(const SPdoNames& names, const CFieldGroupList& list);

// The power design at a glance: the PDOs of a list drawn as a power engineer draws them, each
// labelled with its number, red when it is invalid, the selected one drawn over the others in a
// heavier line. An empty list says so.
class CPdoChart : public QWidget {
    Q_OBJECT
public:
    // `emptyText` is what the chart says while there is nothing to draw.
    CPdoChart(QString emptyText, QWidget* parent = nullptr);

    void SetShapes(std::vector<SPdoShape> shapes);
    const std::vector<SPdoShape>& Shapes() const { return shapes_; }
    const QString& EmptyText() const { return emptyText_; }
    // Where a point of the chart is painted in the widget as it is sized now.
    QPointF ToPixel(SChartPoint point) const;
    // The colour a shape is painted in.
    static QColor ColourOf(const SPdoShape& shape);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF PlotArea() const;

    QString emptyText_;
    std::vector<SPdoShape> shapes_;
};
