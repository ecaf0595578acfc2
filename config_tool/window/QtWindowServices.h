#pragma once

#include "config_tool/window/WindowServices.h"

#include <QObject>

class QWidget;

namespace tarn {

// The window system's dialogs and lists through Qt. Lives as the main window's invisible "CommonDialog1".
class QtWindowServices : public QObject, public WindowServices
{
    Q_OBJECT

public:
    explicit QtWindowServices(QWidget* dialogParent);

    std::optional<std::int32_t> chooseColor(std::int32_t current) override;
    std::string chooseOpenFile(const std::string& pattern) override;
    std::vector<std::string> printerNames() override;
    std::string defaultPrinterName() override;
    std::vector<std::string> fontNames() override;
    ScreenMetrics screenMetrics() override;

private:
    QWidget* m_dialogParent;
};

} // namespace tarn
