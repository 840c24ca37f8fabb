#include "ui/main/option_group.h"

#include <QButtonGroup>
#include <QRadioButton>

#include <algorithm>

namespace tidepool {

namespace {

// Only the selected option takes Tab; the others are reached with the arrow keys or a click.
void MoveTabStopToSelection(const QButtonGroup& group) {
    const QList<QAbstractButton*> options = group.buttons();
    const bool anySelected = std::any_of(options.begin(), options.end(),
                                         [](const QAbstractButton* b) { return b->isChecked(); });
    for (QAbstractButton* option : options) {
        const bool stop = anySelected ? option->isChecked() : option == options.constFirst();
        option->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

} // namespace

QButtonGroup* MakeOptionGroup(const std::vector<QRadioButton*>& options, QObject* owner) {
    auto* group = new QButtonGroup(owner);
    group->setExclusive(true);
    for (std::size_t i = 0; i < options.size(); ++i)
        group->addButton(options[i], static_cast<int>(i));
    QObject::connect(group, &QButtonGroup::buttonToggled, group,
                     [group] { MoveTabStopToSelection(*group); });
    MoveTabStopToSelection(*group);
    return group;
}

} // namespace tidepool
