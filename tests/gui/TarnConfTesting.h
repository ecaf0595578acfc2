#pragma once

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/window/TarnConf.h"
#include "tests/gui/FakeWindowServices.h"
#include "tests/gui/SampleInstallation.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <QApplication>
#include <QString>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace orvant::test {

// The main window over an installation at C:\ORVANT inside the test's own folder, with every message
// box and dialog answered by the test and the process-wide values reset around each test.
class TarnConfTest : public ::testing::Test
{
protected:
    TestFolder folder;
    ScopedEnv home { "KELBRIN_HOME", std::string("C:\\ORVANT") };
    SampleInstallation installation { folder.driveC() / "ORVANT" };
    FakeUi ui;
    FakeWindowServices services;
    std::unique_ptr<tarn::TarnConf> window;

    void SetUp() override
    {
        tarn::Globals::reset();
        tarn::XmlConfig::reset();
        tarn::Globals::setUi(&ui);
    }

    void TearDown() override
    {
        window.reset();
        tarn::Globals::setUi(nullptr);
        tarn::XmlConfig::reset();
        tarn::Globals::reset();
    }

    // Serial ports COMn that the probe finds.
    void addComPort(int n) const { std::ofstream(folder.path() / "com" / ("COM" + std::to_string(n))); }

    // Loads and shows the window, active, so that focus moves as it does for the operator.
    tarn::TarnConf& openWindow()
    {
        window = std::make_unique<tarn::TarnConf>(&services);
        window->Form_Load();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
    }

    template <typename Widget> Widget* find(const char* name) const
    {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // A value as the tool reads it back from the configuration file on disk.
    static std::string storedValue(const std::string& key, int n)
    {
        tarn::XmlConfig::reset();
        tarn::XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
        return tarn::XmlConfig::xmlGetValue(key, n, "<absent>");
    }

    // Everything a save could touch: the installation and both registry hives.
    std::vector<std::pair<std::string, std::string>> everythingStored() const
    {
        auto files = snapshotTree(folder.driveC());
        for (auto& entry : snapshotTree(folder.registryFolder())) {
            files.emplace_back("registry/" + entry.first, entry.second);
        }
        return files;
    }
};

} // namespace orvant::test
