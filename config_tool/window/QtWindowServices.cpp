#include "config_tool/window/QtWindowServices.h"

#include "config_tool/window/WindowColor.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QScreen>
#include <QWidget>

namespace tarn {

QtWindowServices::QtWindowServices(QWidget* dialogParent)
    : QObject(dialogParent)
    , m_dialogParent(dialogParent)
{
    setObjectName(QStringLiteral("CommonDialog1"));
}

std::optional<std::int32_t> QtWindowServices::chooseColor(std::int32_t current)
{
    const QColor start = WindowColor::toQColor(current, m_dialogParent ? m_dialogParent->palette() : QPalette());
    const QColor chosen = QColorDialog::getColor(start, m_dialogParent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return WindowColor::fromQColor(chosen);
}

std::string QtWindowServices::chooseOpenFile(const std::string& pattern)
{
    // Qt's filter syntax wants the patterns blank-separated in brackets: "*.bmp;*.jpg (*.bmp *.jpg)".
    const QString patterns = QString::fromStdString(pattern);
    const QString filter = patterns + QStringLiteral(" (")
        + QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    const QString chosen = QFileDialog::getOpenFileName(m_dialogParent, QString(), QString(), filter);
    if (chosen.isEmpty()) {
        return pattern;
    }
    // Stored paths are data the engine reads; keep the system's own separators.
    return QDir::toNativeSeparators(chosen).toStdString();
}

std::vector<std::string> QtWindowServices::printerNames()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        names.push_back(name.toStdString());
    }
    return names;
}

std::string QtWindowServices::defaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName().toStdString();
}

std::vector<std::string> QtWindowServices::fontNames()
{
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families()) {
        names.push_back(family.toStdString());
    }
    return names;
}

ScreenMetrics QtWindowServices::screenMetrics()
{
    ScreenMetrics metrics;
    const QScreen* screen
        = m_dialogParent && m_dialogParent->screen() ? m_dialogParent->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return metrics;
    }
    metrics.widthPixels = screen->geometry().width();
    metrics.heightPixels = screen->geometry().height();
    const auto twips = [](qreal dotsPerInch) { return dotsPerInch > 0 ? 1440.0 / dotsPerInch : 15.0; };
    metrics.twipsPerPixelX = twips(screen->logicalDotsPerInchX());
    metrics.twipsPerPixelY = twips(screen->logicalDotsPerInchY());
    return metrics;
}

} // namespace tarn
