#pragma once

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/window/TarnConf.h"
#include "tests/gui/FakeWindowServices.h"
#include "tests/gui/SampleInstallation.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
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

    // The configuration file with instances 0..count (the base one with extra values), in xml mode.
    void writeInstallation(int count, const KeyValues& baseValues = {}) const
    {
        auto stored = SampleInstallation::numberedInstances(count);
        stored[0].values.insert(stored[0].values.end(), baseValues.begin(), baseValues.end());
        installation.writeConfiguration(stored);
        installation.writeMode(true);
        installation.makeInstanceFolders(count);
    }

    // Loads and shows the window, active, so that focus moves as it does for the operator.
    tarn::TarnConf& openWindow()
    {
        window = std::make_unique<tarn::TarnConf>(&services);
        QObject::connect(window.get(), &tarn::TarnConf::programEndRequested, window.get(), &QWidget::close);
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

    QRadioButton* option(const char* group, int index) const
    {
        return find<QRadioButton>((std::string(group) + "_" + std::to_string(index)).c_str());
    }

    // What a box, list, label or button shows.
    std::string text(const char* name) const
    {
        auto* widget = find<QWidget>(name);
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            return box->text().toStdString();
        }
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            return list->currentText().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            return label->text().toStdString();
        }
        return qobject_cast<QAbstractButton*>(widget)->text().toStdString();
    }

    // "hidden", "on"/"off" for a tick box or option, then "enabled" or "disabled".
    std::string state(const char* name) const
    {
        auto* widget = find<QWidget>(name);
        std::string result = widget->isHidden() ? "hidden " : "";
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->isCheckable()) {
            result += button->isChecked() ? "on " : "off ";
        }
        return result + (widget->isEnabled() ? "enabled" : "disabled");
    }

    // One digit per control: 1 when enabled.
    std::string enabled(std::initializer_list<const char*> names) const
    {
        std::string result;
        for (const char* name : names) {
            result += find<QWidget>(name)->isEnabled() ? '1' : '0';
        }
        return result;
    }

    std::vector<std::string> entries(const char* listName) const
    {
        std::vector<std::string> result;
        const auto* list = find<QComboBox>(listName);
        for (int i = 0; i < list->count(); ++i) {
            result.push_back(list->itemText(i).toStdString());
        }
        return result;
    }

    // Which of the PIN pad's port controls the operator sees, in a fixed order.
    std::string portControlsShown() const
    {
        std::string shown;
        for (const char* name :
             { "cmbComPort", "lblComPort", "cmbReader", "lblReader", "txtPinPadPort", "lblPinPadPort" }) {
            shown += find<QWidget>(name)->isHidden() ? "" : std::string(shown.empty() ? "" : " ") + name;
        }
        return shown;
    }

    void pick(const char* listName, const char* entry) const
    {
        auto* list = find<QComboBox>(listName);
        const int index = list->findText(QString::fromLatin1(entry));
        ASSERT_GE(index, 0) << entry;
        list->setCurrentIndex(index);
    }

    void type(const char* boxName, const char* typed) const
    {
        auto* box = find<QLineEdit>(boxName);
        box->selectAll();
        QTest::keyClicks(box, typed);
    }

    void click(const char* buttonName) const { QTest::mouseClick(find<QAbstractButton>(buttonName), Qt::LeftButton); }

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
