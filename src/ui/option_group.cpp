#include "ui/option_group.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QRadioButton>

namespace orx {

OptionGroup::OptionGroup(const QString& name, QObject* parent)
    : QObject(parent), m_group(new QButtonGroup(this))
{
    setObjectName(name);
    m_group->setExclusive(true);
}

int OptionGroup::addOption(QRadioButton* button)
{
    const int index = count();
    m_options.append(button);
    m_group->addButton(button, index);
    button->setProperty("optionIndex", index);
    if (button->isChecked())
        m_selected = index;
    connect(button, &QRadioButton::toggled, this, [this, index](bool checked) { onToggled(index, checked); });
    return index;
}

QRadioButton* OptionGroup::option(int index) const
{
    return index >= 0 && index < count() ? m_options[index] : nullptr;
}

void OptionGroup::select(int index)
{
    if (!option(index) || index == m_selected)
        return;
    m_settingFromCode = true;
    m_options[index]->setChecked(true);
    m_settingFromCode = false;
    m_selected = index;
    emit clicked(index);
}

void OptionGroup::setOptionSelected(int index, bool selected)
{
    if (selected) {
        select(index);
        return;
    }
    if (!option(index) || index != m_selected)
        return;
    // An exclusive group refuses to uncheck its last checked button; lift that for a moment.
    m_settingFromCode = true;
    m_group->setExclusive(false);
    m_options[index]->setChecked(false);
    m_group->setExclusive(true);
    m_settingFromCode = false;
    m_selected = -1;
}

void OptionGroup::setOptionEnabled(int index, bool enabled)
{
    if (QRadioButton* button = option(index))
        button->setEnabled(enabled);
}

void OptionGroup::setAllEnabled(bool enabled)
{
    for (QRadioButton* button : std::as_const(m_options))
        button->setEnabled(enabled);
}

void OptionGroup::onToggled(int index, bool checked)
{
    if (m_settingFromCode || !checked || index == m_selected)
        return;
    m_selected = index;
    emit clicked(index);
}

OptionGroup* addOptionButtons(QObject* owner, const QString& name, const QStringList& captions, int selected,
                              QBoxLayout* into)
{
    auto* group = new OptionGroup(name, owner);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i]);
        button->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
        button->setChecked(i == selected);
        group->addOption(button);
        into->addWidget(button);
    }
    return group;
}

} // namespace orx
