#include "config_tool/model/ConfigurationLayout.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/TarnConf.h"

#include <QCheckBox>
#include <QLineEdit>
#include <set>
#include <type_traits>
#include <variant>

namespace tarn {

namespace {

// The instance controls that take part in the window's events: a handler runs when they change, changes
// or enables them, or a dialog fills them. showInstanceData and collectInstanceData bind these one by one,
// in the order that drives those events. Every other check box and text box of the configuration layout
// is plain: it is shown and collected straight from the layout, by its control's name, and a new setting
// of that kind needs only its control made in TarnConfLayout.
bool takesPartInEvents(std::string_view control)
{
    static const std::set<std::string_view> bound {
        "cbSendReceipt",        "txtReceiptPort",  "cbCombiReader", "cbAskGratuity",         "txtPort",
        "txtInputDir",          "txtOutputDir",    "txtLogoFile",   "txtWatermark",          "cbUseAvsRules",
        "cbEnablePrintReceipt", "cbVerifoneVxPri", "txtPinPadPort", "cbAvsDetailsMandatory",
    };
    return bound.count(control) != 0;
}

// Calls visit(box, member) for each plain setting shown by a check box or a text box.
template <typename Visit> void forEachPlainSetting(const QWidget& window, Visit&& visit)
{
    for (const InstanceSetting& setting : instanceSettings()) {
        if (setting.control.empty() || takesPartInEvents(setting.control)) {
            continue;
        }
        const QString name = QString::fromLatin1(setting.control.data(), static_cast<int>(setting.control.size()));
        std::visit(
            [&](auto member) {
                using Member = decltype(member);
                if constexpr (std::is_same_v<Member, bool CInstanceData::*>) {
                    if (auto* box = window.findChild<QCheckBox*>(name)) {
                        visit(box, member);
                    }
                } else if constexpr (std::is_same_v<Member, std::string CInstanceData::*>) {
                    if (auto* box = window.findChild<QLineEdit*>(name)) {
                        visit(box, member);
                    }
                }
            },
            setting.member);
    }
}

} // namespace

void TarnConf::showPlainSettings(const CInstanceData& record)
{
    forEachPlainSetting(*this, [&record](auto* box, auto member) {
        if constexpr (std::is_same_v<decltype(box), QCheckBox*>) {
            Controls::setChecked(box, record.*member);
        } else {
            Controls::setText(box, record.*member);
        }
    });
}

void TarnConf::collectPlainSettings(CInstanceData& record) const
{
    forEachPlainSetting(*this, [&record](auto* box, auto member) {
        if constexpr (std::is_same_v<decltype(box), QCheckBox*>) {
            record.*member = Controls::isChecked(box);
        } else {
            record.*member = Controls::text(box);
        }
    });
}

} // namespace tarn
