#include "views/theme/Theme.h"

#include "model/PlannerStore.h"
#include "views/theme/FontLoader.h"

#include <QApplication>
#include <QFontDatabase>

namespace furrow::Theme {

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(float(color.alphaF() * std::clamp(opacity, 0.0, 1.0)));
    return color;
}

QColor blend(const QColor &from, const QColor &to, qreal progress)
{
    const qreal t = std::clamp(progress, 0.0, 1.0);
    const auto mix = [t](float a, float b) {
        return a + (b - a) * float(t);
    };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()),
                            mix(from.blueF(), to.blueF()), mix(from.alphaF(), to.alphaF()));
}

std::optional<QColor> colorFromHex(const QString &text)
{
    // The same acceptance rule the store applies when it normalises project colours, so a
    // colour the store keeps is always one the views can draw.
    if (!PlannerStore::isHexColor(text))
        return std::nullopt;
    QString digits = text.trimmed();
    if (digits.startsWith(u'#'))
        digits.remove(0, 1);
    if (digits.front() == u'+' || digits.front() == u'-')
        digits.remove(0, 1);
    const uint value = digits.toUInt(nullptr, 16);
    return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

QFont face(const QString &postScriptName, qreal size, QFont::Weight weight)
{
    if (const auto font = FontLoader::font(postScriptName, size))
        return *font;
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    fallback.setPointSizeF(size * 0.75);
    fallback.setWeight(weight);
    return fallback;
}

QFont slab(qreal size, QFont::Weight weight)
{
    return face(weight == QFont::Medium ? QStringLiteral("ZillaSlab-Medium")
                                        : QStringLiteral("ZillaSlab-Regular"),
                size, weight);
}

QFont sans(qreal size, QFont::Weight weight)
{
    QString name = QStringLiteral("InstrumentSans-Regular");
    if (weight >= QFont::DemiBold)
        name = QStringLiteral("InstrumentSans-SemiBold");
    else if (weight == QFont::Medium)
        name = QStringLiteral("InstrumentSans-Medium");
    return face(name, size, weight);
}

QPalette palette()
{
    QPalette colors;
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, paper},
        {QPalette::WindowText, ink},
        {QPalette::Base, card},
        {QPalette::AlternateBase, paper},
        {QPalette::Text, ink},
        {QPalette::PlaceholderText, line},
        {QPalette::Button, card},
        {QPalette::ButtonText, ink},
        {QPalette::BrightText, card},
        {QPalette::Highlight, bright},
        {QPalette::HighlightedText, pine},
        {QPalette::Link, pine},
        {QPalette::LinkVisited, pine},
        {QPalette::ToolTipBase, ink},
        {QPalette::ToolTipText, card},
        {QPalette::Light, card},
        {QPalette::Midlight, backdrop},
        {QPalette::Mid, hair},
        {QPalette::Dark, line},
        {QPalette::Shadow, gray},
    };
    for (const auto &[role, color] : roles)
        colors.setColor(role, color);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        colors.setColor(QPalette::Disabled, role, muted);
    }
    return colors;
}

void applyToApplication()
{
    QApplication::setPalette(palette());
    QApplication::setFont(body());
}

QFont panelTitle()
{
    return slab(30);
}

QFont stepTitle()
{
    return slab(20);
}

QFont taskQuick()
{
    return sans(15);
}

QFont body()
{
    return sans(14);
}

QFont small()
{
    return sans(13);
}

QFont stepLabel()
{
    return sans(11, QFont::DemiBold);
}

} // namespace furrow::Theme
