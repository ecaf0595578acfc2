#include "config_tool/engine_files/DeviceProfiles.h"
#include "config_tool/model/Choices.h"
#include "config_tool/model/WindowSize.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/ListClickNotifier.h"
#include "config_tool/window/WindowColor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QRadioButton>
#include <QSignalSpy>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace orvant::test {
namespace {

TEST(LeadingNumberTest, ReadsTheNumberATextStartsWithAndRoundsHalvesToEvenWithinSixteenBits)
{
    const std::pair<const char*, double> texts[]
        = { { "80%", 80.0 }, { "  79.5abc", 79.5 }, { "1 2", 12.0 }, { "-3.25.7", -3.25 },
            { ".5", 0.5 },   { "abc", 0.0 },        { "", 0.0 },     { "-", 0.0 } };
    for (const auto& [text, number] : texts) {
        EXPECT_DOUBLE_EQ(tarn::leadingNumber(text), number) << text;
    }
    EXPECT_GT(tarn::leadingNumber(std::string(400, '9')), 1e300);

    const std::pair<double, int> numbers[]
        = { { 80.5, 80 }, { 81.5, 82 }, { -2.5, -2 }, { 99.4, 99 }, { 1e9, 32767 }, { -1e9, -32768 } };
    for (const auto& [number, rounded] : numbers) {
        EXPECT_EQ(tarn::roundToInt16(number), rounded) << number;
    }
}

TEST(WindowColorTest, ConvertsBetweenWindowsColoursAndQtColours)
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(4, 5, 6));
    palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
    EXPECT_EQ(tarn::WindowColor::toQColor(-2147483633, palette), QColor(1, 2, 3));
    EXPECT_EQ(tarn::WindowColor::toQColor(static_cast<std::int32_t>(0x80000005u), palette), QColor(4, 5, 6));
    EXPECT_EQ(tarn::WindowColor::toQColor(static_cast<std::int32_t>(0x8000000Du), palette), QColor(7, 8, 9));
    EXPECT_EQ(tarn::WindowColor::toQColor(0x00563412, palette), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(tarn::WindowColor::toQColor(0x02563412, palette), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(tarn::WindowColor::fromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412);
    EXPECT_EQ(tarn::WindowColor::fromQColor(QColor(255, 255, 255)), 0x00FFFFFF);
    EXPECT_TRUE(tarn::WindowColor::isSystemColor(-2147483633));
    EXPECT_FALSE(tarn::WindowColor::isSystemColor(0x00FFFFFF));
}

TEST(WindowListsTest, EnvironmentNumberingAndPinPadModels)
{
    EXPECT_EQ(tarn::Choices::environmentText(4), "Kiosk");
    EXPECT_EQ(tarn::Choices::environmentText(2), "Hospitality");
    EXPECT_FALSE(tarn::Choices::environmentText(0));
    EXPECT_FALSE(tarn::Choices::environmentText(7));
    EXPECT_EQ(tarn::Choices::environmentCode("Petrol Station"), 3);
    EXPECT_EQ(tarn::Choices::environmentCode("Standalone"), 6);
    EXPECT_FALSE(tarn::Choices::environmentCode("pos"));

    // Every model offered has a device profile of that name.
    auto listed = tarn::Choices::pinPadModels(false);
    auto profiles = tarn::pinPadModelNames();
    std::sort(listed.begin(), listed.end());
    std::sort(profiles.begin(), profiles.end());
    EXPECT_EQ(listed, profiles);
    for (const auto& model : tarn::Choices::pinPadModels(true)) {
        EXPECT_TRUE(std::binary_search(profiles.begin(), profiles.end(), model)) << model;
    }
}

TEST(ListClickNotifierTest, ClicksWhenAnEntryIsSelectedButNotWhenTheTextIsSet)
{
    QComboBox list;
    list.setEditable(true);
    tarn::ListClickNotifier notifier(&list);
    QSignalSpy clicks(&notifier, &tarn::ListClickNotifier::clicked);

    for (const char* entry : { "One", "Two", "Three" }) {
        tarn::Controls::addListEntry(&list, entry);
    }
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(clicks.count(), 0);

    list.setCurrentIndex(1);
    EXPECT_EQ(clicks.count(), 1);
    list.setCurrentIndex(1);
    EXPECT_EQ(clicks.count(), 1);

    tarn::Controls::setListText(&list, "Three");
    tarn::Controls::setListText(&list, "Not listed");
    EXPECT_EQ(list.currentText().toStdString(), "Not listed");
    EXPECT_EQ(clicks.count(), 1);

    // The operator picking the entry already selected is still a click.
    tarn::Controls::setListText(&list, "Two");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &press);
    emit list.activated(1);
    EXPECT_EQ(clicks.count(), 2);

    tarn::Controls::clearList(&list);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(ControlValuesTest, OptionGroupsAndCheckBoxes)
{
    QWidget owner;
    QButtonGroup group;
    for (int i = 0; i < 3; ++i) {
        group.addButton(new QRadioButton(&owner), i);
    }
    EXPECT_EQ(tarn::getSelectedOptionIndex(&group), 0);
    EXPECT_EQ(tarn::getSelectedOptionIndex(nullptr), 0);
    tarn::Controls::selectOption(&group, 2);
    EXPECT_EQ(tarn::getSelectedOptionIndex(&group), 2);
    tarn::Controls::selectOption(&group, 5);
    EXPECT_EQ(group.checkedButton(), nullptr);
    tarn::Controls::selectOption(&group, 1);
    EXPECT_EQ(tarn::getSelectedOptionIndex(&group), 1);

    QCheckBox box;
    box.setTristate(true);
    box.setCheckState(Qt::PartiallyChecked);
    EXPECT_TRUE(tarn::Controls::isChecked(&box));
    EXPECT_EQ(tarn::Controls::checkValue(&box), 2);
    tarn::Controls::setChecked(&box, false);
    EXPECT_FALSE(tarn::Controls::isChecked(&box));
    EXPECT_EQ(tarn::Controls::checkValue(&box), 0);
}

} // namespace
} // namespace orvant::test
