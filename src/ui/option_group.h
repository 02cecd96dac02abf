#pragma once
// A group of mutually exclusive options (ON/OFF pairs, GPIB/RS232, the four step sizes). Selecting an
// option from code behaves exactly like the operator's click: when the selection changes, the
// `clicked` handler runs at once, before the selecting code goes on; selecting the option that is
// already selected does nothing.

#include <QList>
#include <QObject>

class QBoxLayout;
class QRadioButton;
class QButtonGroup;

namespace orx {

// The two options of every ON/OFF pair.
inline constexpr int kOff = 0;
inline constexpr int kOn = 1;

class OptionGroup : public QObject
{
    Q_OBJECT
public:
    explicit OptionGroup(const QString& name, QObject* parent = nullptr);

    // Adds the next option; its index is the number of options added before it.
    int addOption(QRadioButton* button);
    QRadioButton* option(int index) const;
    int count() const { return static_cast<int>(m_options.size()); }

    // The selected index, or -1 when no option is selected.
    int selectedIndex() const { return m_selected; }
    bool isSelected(int index) const { return m_selected == index && index >= 0; }

    // Selects an option, running the handler when the selection changes. An index that names no
    // option changes nothing.
    void select(int index);

    // Sets one option's selected state. Selecting is select(); clearing the selected option leaves the
    // group without a selection and runs no handler.
    void setOptionSelected(int index, bool selected);

    void setOptionEnabled(int index, bool enabled);
    void setAllEnabled(bool enabled);

signals:
    // The selection changed to `index`, by the operator or by code.
    void clicked(int index);

private:
    void onToggled(int index, bool checked);

    QButtonGroup* m_group;
    QList<QRadioButton*> m_options;
    int m_selected = -1;
    bool m_settingFromCode = false;
};

// A new group of radio buttons with the captions, named "<name>_<index>" and laid out into `into`; the
// option `selected` starts selected.
OptionGroup* addOptionButtons(QObject* owner, const QString& name, const QStringList& captions, int selected,
                              QBoxLayout* into);

} // namespace orx
