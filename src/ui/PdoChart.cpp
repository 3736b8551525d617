#include "ui/PdoChart.h"

#include "catalog/GroupCatalog.h"
#include "model/FieldList.h"
#include "model/FieldValues.h"
#include "model/ParameterField.h"
#include "model/Predicates.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// A Battery PDO's curve is drawn through this many points over its voltage range.
constexpr int kCurvePoints = 48;
// A Fixed PDO's bar is this many pixels wide.
constexpr double kBarWidth = 7.0;

double Volts(long long millivolts) {
    return std::clamp(static_cast<double>(millivolts) / 1000.0, 0.0, kChartMaxVolts);
}

double Amps(double milliamps) {
    return std::clamp(milliamps / 1000.0, 0.0, kChartMaxAmps);
}

// An answer the chart reads only while it is asked: a supply type's left-over answers draw nothing.
long long AskedDecimal(const CFieldGroup& pdo, const wchar_t* pattern) {
    const CParameterField* field = pattern ? pdo.FindField(pattern) : nullptr;
    return field && field->IsAvailable() ? DecimalOf(field) : -1;
}

SPdoShape ShapeOf(const SPdoAnswers& pdo) {
    using EKind = SPdoShape::EKind;
    SPdoShape shape;
    shape.number = pdo.number;
    shape.valid = pdo.valid;
    const bool range = pdo.minVoltage >= 0 && pdo.maxVoltage >= 0 && pdo.minVoltage <= pdo.maxVoltage;
    switch (pdo.supplyType) {
    case ST_FIXED:
        if (pdo.voltage >= 0 && pdo.current >= 0) {
            const double v = Volts(pdo.voltage);
            const double a = Amps(static_cast<double>(pdo.current));
            shape.kind = EKind::Bar;
            shape.outline = {{v, 0}, {v, a}};
            shape.label = {v, a};
        }
        break;
    case ST_VARIABLE:
    case ST_APDO:
        if (range && pdo.current >= 0) {
            const double low = Volts(pdo.minVoltage);
            const double high = Volts(pdo.maxVoltage);
            const double a = Amps(static_cast<double>(pdo.current));
            shape.kind = EKind::Box;
            shape.outline = {{low, 0}, {low, a}, {high, a}, {high, 0}};
            shape.label = {(low + high) / 2, a};
        }
        break;
    case ST_BATTERY:
        if (range && pdo.power >= 0) {
            const double low = Volts(pdo.minVoltage);
            const double high = Volts(pdo.maxVoltage);
            // mW / V = mA; at 0 V the current is unbounded and the curve is cut at the top.
            const auto ampsAt = [&](double v) {
                return v <= 0 ? kChartMaxAmps : Amps(static_cast<double>(pdo.power) / v);
            };
            shape.kind = EKind::Curve;
            for (int i = 0; i < kCurvePoints; ++i) {
                const double v = low + (high - low) * i / (kCurvePoints - 1);
                shape.outline.push_back({v, ampsAt(v)});
            }
            const double middle = (low + high) / 2;
            shape.label = {middle, ampsAt(middle)};
        }
        break;
    default:
        break;
    }
    return shape;
}

} // namespace

std::vector<SPdoShape> PdoShapes(const std::vector<SPdoAnswers>& pdos, int selected) {
    std::vector<SPdoShape> shapes;
    shapes.reserve(pdos.size());
    for (const SPdoAnswers& pdo : pdos) {
        shapes.push_back(ShapeOf(pdo));
    }
    if (selected >= 0 && static_cast<std::size_t>(selected) < shapes.size()) {
        shapes[static_cast<std::size_t>(selected)].selected = true;
    }
    return shapes;
}

SPdoAnswers PdoAnswersOf(const SPdoNames& names, const CFieldGroup& pdo, int number) {
    SPdoAnswers answers;
    answers.number = number;
    const CParameterField* supply = pdo.FindField(names.supplyType);
    answers.supplyType = supply && supply->IsAvailable() ? ChoiceOf(supply) : -1;
    answers.voltage = AskedDecimal(pdo, names.voltage);
    answers.current = AskedDecimal(pdo, names.current);
    answers.minVoltage = AskedDecimal(pdo, names.minVoltage);
    answers.maxVoltage = AskedDecimal(pdo, names.maxVoltage);
    answers.power = AskedDecimal(pdo, names.power);
    answers.valid = pdo.IsComplete();
    return answers;
}

std::vector<SPdoAnswers> PdoAnswersOf(const SPdoNames& names, const CFieldGroupList& list) {
    std::vector<SPdoAnswers> pdos;
    pdos.reserve(list.Size());
    for (std::size_t i = 0; i < list.Size(); ++i) {
        pdos.push_back(PdoAnswersOf(names, list.At(i), static_cast<int>(i) + 1));
    }
    return pdos;
}

CPdoChart::CPdoChart(QString emptyText, QWidget* parent) : QWidget(parent), emptyText_(std::move(emptyText)) {
    setObjectName(QStringLiteral("PdoChart"));
    setAccessibleName(QStringLiteral("PDO chart"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPdoChart::SetShapes(std::vector<SPdoShape> shapes) {
    shapes_ = std::move(shapes);
    update();
}

QSize CPdoChart::sizeHint() const {
    return {320, 200};
}

QSize CPdoChart::minimumSizeHint() const {
    return {240, 150};
}

QRectF CPdoChart::PlotArea() const {
    const QFontMetrics metrics(font());
    const double left = metrics.horizontalAdvance(QStringLiteral("5 A")) + 8.0;
    const double bottom = metrics.height() + 6.0;
    const double top = metrics.height() + 4.0;
    return QRectF(left, top, std::max(1.0, width() - left - 10.0), std::max(1.0, height() - top - bottom));
}

QPointF CPdoChart::ToPixel(SChartPoint point) const {
    const QRectF plot = PlotArea();
    return {plot.left() + plot.width() * point.volts / kChartMaxVolts,
            plot.bottom() - plot.height() * point.amps / kChartMaxAmps};
}

QColor CPdoChart::ColourOf(const SPdoShape& shape) {
    return shape.valid ? QColor(0, 90, 200) : QColor(255, 0, 0);
}

void CPdoChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QRectF plot = PlotArea();
    const QFontMetrics metrics(font());
    const QColor text = palette().color(QPalette::Text);
    QColor grid = palette().color(QPalette::Mid);
    grid.setAlpha(90);

    // ---- axes: a line every 5 V and every 1 A ----
    for (int v = 0; v <= 20; v += 5) {
        const QPointF at = ToPixel({static_cast<double>(v), 0});
        painter.setPen(grid);
        painter.drawLine(QPointF(at.x(), plot.top()), at);
        painter.setPen(text);
        const QString label = QString::number(v);
        painter.drawText(
            QPointF(at.x() - metrics.horizontalAdvance(label) / 2.0, plot.bottom() + metrics.ascent() + 3),
            label);
    }
    for (int a = 0; a <= 5; ++a) {
        const QPointF at = ToPixel({0, static_cast<double>(a)});
        painter.setPen(grid);
        painter.drawLine(at, QPointF(plot.right(), at.y()));
        painter.setPen(text);
        const QString label = QString::number(a);
        painter.drawText(
            QPointF(plot.left() - metrics.horizontalAdvance(label) - 4, at.y() + metrics.ascent() / 2.0),
            label);
    }
    painter.setPen(text);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawText(
        QPointF(plot.right() - metrics.horizontalAdvance(QStringLiteral("V")), plot.bottom() - 3),
        QStringLiteral("V"));
    painter.drawText(QPointF(2, metrics.ascent() + 1), QStringLiteral("A"));

    if (shapes_.empty()) {
        painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
        return;
    }

    // ---- the PDOs: boxes and curves, the bars over them, the selected one over everything ----
    QString missing;
    painter.setRenderHint(QPainter::Antialiasing);
    std::vector<const SPdoShape*> order;
    for (const SPdoShape& shape : shapes_) {
        if (shape.kind == SPdoShape::EKind::Missing) {
            missing += (missing.isEmpty() ? QString() : QStringLiteral(", ")) + QString::number(shape.number);
        }
    }
    for (const bool bars : {false, true}) {
        for (const SPdoShape& shape : shapes_) {
            if (shape.kind != SPdoShape::EKind::Missing && !shape.selected &&
                (shape.kind == SPdoShape::EKind::Bar) == bars) {
                order.push_back(&shape);
            }
        }
    }
    for (const SPdoShape& shape : shapes_) {
        if (shape.selected && shape.kind != SPdoShape::EKind::Missing) {
            order.push_back(&shape);
        }
    }
    for (const SPdoShape* shape : order) {
        const QColor colour = ColourOf(*shape);
        QColor fill = colour;
        fill.setAlpha(shape->selected ? 110 : 45);
        QPen pen(colour, shape->selected ? 3.0 : 1.5);
        painter.setPen(pen);
        if (shape->kind == SPdoShape::EKind::Bar) {
            const QPointF base = ToPixel(shape->outline.front());
            const QPointF top = ToPixel(shape->outline.back());
            const double barWidth = shape->selected ? kBarWidth + 4 : kBarWidth;
            painter.fillRect(QRectF(base.x() - barWidth / 2, top.y(), barWidth, base.y() - top.y()), colour);
        } else {
            QPainterPath path(ToPixel(shape->outline.front()));
            for (std::size_t i = 1; i < shape->outline.size(); ++i) {
                path.lineTo(ToPixel(shape->outline[i]));
            }
            QPainterPath area = path;
            if (shape->kind == SPdoShape::EKind::Curve) {
                area.lineTo(ToPixel({shape->outline.back().volts, 0}));
                area.lineTo(ToPixel({shape->outline.front().volts, 0}));
            }
            area.closeSubpath();
            painter.fillPath(area, fill);
            painter.drawPath(path);
        }
        QFont bold = font();
        bold.setBold(shape->selected);
        painter.setFont(bold);
        const QString number = QString::number(shape->number);
        const QPointF anchor = ToPixel(shape->label);
        const double x = std::clamp(anchor.x() - metrics.horizontalAdvance(number) / 2.0, 0.0,
                                    width() - metrics.horizontalAdvance(number) - 1.0);
        painter.drawText(QPointF(x, std::max(anchor.y() - 4, static_cast<double>(metrics.ascent()))), number);
        painter.setFont(font());
    }
    if (!missing.isEmpty()) {
        painter.setPen(text);
        painter.drawText(QPointF(plot.left() + 6, plot.top() + metrics.ascent() + 2),
                         QStringLiteral("Not drawn, answers missing: %1").arg(missing));
    }
}
