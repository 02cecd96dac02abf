#include "memory/memory_bank.h"

#include "base/numbers.h"
#include "link/command_link.h"
#include "memory/memory_rules.h"
#include "panel/form1_controls.h"
#include "panel/limit_rules.h"
#include "panel/read_back.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QGroupBox>
#include <QPushButton>

namespace orx {
namespace {

QString switchCommand(const QString& head, const OptionGroup* options)
{
    return head + (options->isSelected(kOn) ? QStringLiteral(" 1") : QStringLiteral(" 0"));
}

} // namespace

MemoryRecordTexts recordTextsOf(const RecordFields& f)
{
    return {f.voltage->text(),
            f.current->text(),
            f.delay->text(),
            f.ovpLevel->text(),
            f.ocpLevel->text(),
            statusText(f.ovpSwitch->isSelected(kOn)),
            statusText(f.ocpSwitch->isSelected(kOn))};
}

MemoryBank::MemoryBank(const Form1Controls& controls, const ProgramState& state, CommandLink& link,
                       ReadBack& readBack)
    : m_c(controls), m_state(state), m_link(link), m_readBack(readBack)
{}

void MemoryBank::record_Change()
{
    if (const auto held = recordRule(m_c.record->value())) {
        m_c.record->setValue(*held); // runs this again with the held number
        return;
    }
    m_c.Frame10->setEnabled(true);
    m_c.Frame11->setEnabled(true);
    ShowMemoryCopy(memoryNumberOf(m_c.record->value()));
    m_c.recall->setEnabled(true);
    m_c.save->setEnabled(true);
}

void MemoryBank::delay_Change()
{
    if (const auto held = delayRule(m_c.delay->value()))
        m_c.delay->setValue(*held);
}

// A memory without a copy shows the rules' idea of empty texts: 0 V, 0 A, OVP 1 V, OCP 0 A, delay 1
// and both protections on.
void MemoryBank::ShowMemoryCopy(int number)
{
    const MemoryRecordTexts& copy = m_copies[static_cast<size_t>(number)];
    m_c.vm->setValue(leadingNumber(copy.voltage));
    m_c.cm->setValue(leadingNumber(copy.current));
    m_c.ovpm->setValue(leadingNumber(copy.ovpLevel));
    m_c.ocpm->setValue(leadingNumber(copy.ocpLevel));
    m_c.delay->setValue(leadingNumber(copy.delay)); // its rule holds it at 1 or more
    m_c.ovpmen->select(statusIsOn(copy.ovpStatus) ? kOn : kOff);
    m_c.ocpmen->select(statusIsOn(copy.ocpStatus) ? kOn : kOff);
}

void MemoryBank::StoreMemoryCopy(int number)
{
    m_copies[static_cast<size_t>(number)] =
        recordTextsOf({m_c.vm, m_c.cm, m_c.delay, m_c.ovpm, m_c.ocpm, m_c.ovpmen, m_c.ocpmen});
}

void MemoryBank::recall_Click()
{
    m_c.autorun->select(kOff);
    RecallMemory(memoryNumberText(m_c.record->value()));
}

bool MemoryBank::RecallMemory(const QString& number, const std::function<void()>& whileRecalling)
{
    const qint64 failedBefore = m_link.failedReads();
    m_link.SendCommand(QStringLiteral("*RCL ") + number);
    if (whileRecalling)
        whileRecalling();
    m_readBack.ReadSetpoints();
    m_readBack.ReadProtection();
    copyPanelIntoGroup();
    if (m_link.query(QStringLiteral("SYST:AUTO:DEL?")))
        m_c.delay->setValue(m_link.responseValue());
    StoreMemoryCopy(memoryNumberOf(number.toInt()));
    return m_link.failedReads() == failedBefore;
}

void MemoryBank::copyPanelIntoGroup()
{
    m_c.vm->setValue(m_c.setv->value());
    m_c.cm->setValue(m_c.setc->value());
    m_c.ovpm->setValue(m_c.ovp->value());
    m_c.ocpm->setValue(m_c.ocp->value());
    // Option by option, so that a switch the panel shows with no option selected is copied as such.
    m_c.ovpmen->setOptionSelected(kOff, m_c.ovpen->isSelected(kOff));
    m_c.ocpmen->setOptionSelected(kOff, m_c.ocpen->isSelected(kOff));
    m_c.ovpmen->setOptionSelected(kOn, m_c.ovpen->isSelected(kOn));
    m_c.ocpmen->setOptionSelected(kOn, m_c.ocpen->isSelected(kOn));
}

void MemoryBank::save_Click()
{
    m_c.output->select(kOff);
    m_c.autorun->select(kOff);
    SaveMemory();
}

bool MemoryBank::SaveMemory()
{
    const QString range = rangeCommandFor(m_c.vm->value(), m_c.cm->value(), limitsOf(m_state));
    if (!range.isEmpty())
        m_link.SendCommand(range);
    m_link.SendCommand(QStringLiteral(":VOLT ") + m_c.vm->text());
    m_link.SendCommand(QStringLiteral(":CURR ") + m_c.cm->text());
    m_link.SendCommand(QStringLiteral(":VOLT:PROT ") + m_c.ovpm->text());
    m_link.SendCommand(QStringLiteral(":CURR:PROT ") + m_c.ocpm->text());
    m_link.SendCommand(switchCommand(QStringLiteral(":VOLT:PROT:STAT"), m_c.ovpmen));
    m_link.SendCommand(switchCommand(QStringLiteral(":CURR:PROT:STAT"), m_c.ocpmen));
    m_link.SendCommand(QStringLiteral("SYST:AUTO:DEL ") + m_c.delay->text());
    m_link.SendCommand(QStringLiteral("*SAV ") + memoryNumberText(m_c.record->value()));
    StoreMemoryCopy(memoryNumberOf(m_c.record->value()));
    return m_state.InterfaceMode != 1 || !m_link.lastSendFailed();
}

void MemoryBank::connectFields(QObject* context)
{
    QObject::connect(m_c.record, &NumericField::valueChanged, context, [this] { record_Change(); });
    QObject::connect(m_c.delay, &NumericField::valueChanged, context, [this] { delay_Change(); });
}

} // namespace orx
