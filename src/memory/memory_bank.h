#pragma once
// The Memory group: choosing a memory number shows the copy this run keeps of it, Recall loads a
// memory into the instrument's active settings and the panel, Save sends the group's settings and
// stores them in a memory. The window keeps a copy of every memory it recalled or saved
// (`MemoryCopies`); the download and the upload are built from RecallMemory and SaveMemory.

#include "memory/memory_file.h"

#include <QString>
#include <array>
#include <functional>

class QObject;

namespace orx {

class CommandLink;
class NumericField;
class OptionGroup;
class ReadBack;
struct Form1Controls;
struct ProgramState;

// Per memory 0..99 the displayed texts of the group's fields and "True"/"False" for the two
// protection switches; every text empty until the memory is recalled or saved.
using MemoryCopies = std::array<MemoryRecordTexts, kMemoryCount>;

// A record's texts as a set of fields shows them: each level's and the delay's displayed text, and
// "True"/"False" for whether each protection's option "ON" is selected.
struct RecordFields
{
    const NumericField* voltage;
    const NumericField* current;
    const NumericField* delay;
    const NumericField* ovpLevel;
    const NumericField* ocpLevel;
    const OptionGroup* ovpSwitch;
    const OptionGroup* ocpSwitch;
};
MemoryRecordTexts recordTextsOf(const RecordFields& fields);

class MemoryBank
{
public:
    MemoryBank(const Form1Controls& controls, const ProgramState& state, CommandLink& link,
               ReadBack& readBack);

    void record_Change();
    void delay_Change();
    void recall_Click();
    void save_Click();

    // Recalls a memory ("00".."99") into the panel and the group; true when every answer arrived.
    // `whileRecalling` runs while the recall line, which has no answer, is still on the wire; it must
    // send nothing.
    bool RecallMemory(const QString& number, const std::function<void()>& whileRecalling = {});
    // False when the instrument could not be reached (the port could not be opened or went away).
    bool SaveMemory();
    void StoreMemoryCopy(int number);
    void ShowMemoryCopy(int number);

    const MemoryCopies& copies() const { return m_copies; }

    // Wires the value changes of `record` and `delay` to their rules; `context` owns the connections.
    void connectFields(QObject* context);

private:
    void copyPanelIntoGroup();

    const Form1Controls& m_c;
    const ProgramState& m_state;
    CommandLink& m_link;
    ReadBack& m_readBack;
    MemoryCopies m_copies;
};

} // namespace orx
