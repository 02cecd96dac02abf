#pragma once
// The instrument's error queue, as "SYST:ERR?" reports it: oldest first, `0,"No error"` when empty.
// A full queue keeps its oldest entries and turns the last one into a queue overflow.

#include <QString>
#include <deque>

namespace orx::sim {

struct InstrumentError
{
    int code;
    const char* text;
};

inline constexpr InstrumentError kDataTypeError{-104, "Data type error"};
inline constexpr InstrumentError kParameterNotAllowed{-108, "Parameter not allowed"};
inline constexpr InstrumentError kMissingParameter{-109, "Missing parameter"};
inline constexpr InstrumentError kUndefinedHeader{-113, "Undefined header"};
inline constexpr InstrumentError kSettingsConflict{-221, "Settings conflict"};
inline constexpr InstrumentError kDataOutOfRange{-222, "Data out of range"};
inline constexpr InstrumentError kIllegalParameterValue{-224, "Illegal parameter value"};
inline constexpr InstrumentError kQueueOverflow{-350, "Queue overflow"};

class ErrorQueue
{
public:
    static constexpr size_t kCapacity = 10;

    void push(const InstrumentError& error);
    // The oldest entry as `code,"text"` (removing it), or `0,"No error"`.
    QString take();
    void clear() { m_entries.clear(); }
    size_t size() const { return m_entries.size(); }

private:
    std::deque<InstrumentError> m_entries;
};

} // namespace orx::sim
