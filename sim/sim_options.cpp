#include "sim/sim_options.h"

#include "base/model_limits.h"
#include "sim/command_syntax.h"

namespace orx::sim {
namespace {

constexpr int kMaxLateMs = 600'000;

// A load in ohms, or "open" for none; false when the text is neither.
bool loadFromText(const QString& text, std::optional<double>& load)
{
    if (text.compare(u"open", Qt::CaseInsensitive) == 0) {
        load.reset();
        return true;
    }
    const auto ohms = parseDecimal(text);
    if (!ohms || *ohms < 0.0)
        return false;
    load = ohms;
    return true;
}

// A memory number 0..99; nothing for any other text.
std::optional<int> memoryFromText(const QString& text)
{
    const auto number = parseInteger(text);
    return number && *number >= 0 && *number <= 99 ? std::optional(static_cast<int>(*number)) : std::nullopt;
}

std::optional<int> lateFromText(const QString& text)
{
    const auto ms = parseInteger(text);
    if (!ms || *ms < 0 || *ms > kMaxLateMs)
        return std::nullopt;
    return static_cast<int>(*ms);
}

// Applies one option with its value; an error text when it is refused.
QString applyOption(const QString& name, const QString& value, PtyOptions& options)
{
    if (name == u"--model") {
        options.modelIndex = modelIndexOfAnyCase(value);
        return options.modelIndex < 0 ? QStringLiteral("unknown model: ") + value : QString();
    }
    if (name == u"--baud") {
        const auto baud = parseInteger(value);
        options.baud =
            baud && PtyServer::isSupportedBaud(static_cast<int>(*baud)) ? static_cast<int>(*baud) : 0;
        return options.baud == 0 ? QStringLiteral("unsupported baud rate: ") + value : QString();
    }
    if (name == u"--link") {
        options.linkPath = value;
        return value.isEmpty() ? QStringLiteral("--link needs a path") : QString();
    }
    if (name == u"--log") {
        options.logPath = value;
        return value.isEmpty() ? QStringLiteral("--log needs a file") : QString();
    }
    if (name == u"--load")
        return loadFromText(value, options.loadOhms) ? QString() : QStringLiteral("invalid load: ") + value;
    if (name == u"--fault") {
        const auto fault = faultFromName(value);
        options.fault = fault.value_or(Fault::None);
        return fault ? QString() : QStringLiteral("unknown fault: ") + value;
    }
    if (name == u"--late-ms") {
        const auto ms = lateFromText(value);
        options.lateMs = ms.value_or(kDefaultLateMs);
        return ms ? QString() : QStringLiteral("invalid --late-ms: ") + value;
    }
    if (name == u"--ignore-save") {
        options.ignoredSave = memoryFromText(value);
        return options.ignoredSave ? QString() : QStringLiteral("invalid memory: ") + value;
    }
    if (name == u"--serial") {
        options.serialNumber = value;
        return QString();
    }
    if (name == u"--firmware") {
        options.firmwareVersion = value;
        return QString();
    }
    return QStringLiteral("unknown option: ") + name;
}

bool takesValue(const QString& name)
{
    static const QStringList names = {QStringLiteral("--model"),    QStringLiteral("--baud"),
                                      QStringLiteral("--link"),     QStringLiteral("--log"),
                                      QStringLiteral("--load"),     QStringLiteral("--fault"),
                                      QStringLiteral("--late-ms"),  QStringLiteral("--serial"),
                                      QStringLiteral("--firmware"), QStringLiteral("--ignore-save")};
    return names.contains(name);
}

} // namespace

SimCommandLine parseSimCommandLine(const QStringList& arguments)
{
    SimCommandLine out;
    for (qsizetype i = 0; i < arguments.size() && out.error.isEmpty(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--help" || argument == u"-h") {
            out.help = true;
            continue;
        }
        if (argument == u"--paced") {
            out.options.paced = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals > 0 ? argument.left(equals) : argument;
        if (!takesValue(name)) {
            out.error = QStringLiteral("unknown option: ") + argument;
            break;
        }
        QString value;
        if (equals > 0) {
            value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            out.error = name + QStringLiteral(" needs a value");
            break;
        }
        out.error = applyOption(name, value, out.options);
    }
    return out;
}

QString simUsage()
{
    return QStringLiteral(
        "Usage: orx-sim [options]\n"
        "Serves a virtual ORX power supply on a pseudo-terminal. The first line printed is the\n"
        "pty's device path; the program then runs until it is stopped (SIGTERM or SIGINT).\n"
        "\n"
        "Options:\n"
        "  --model ORX-A100|ORX-B200|ORX-C300  model to be (default ORX-A100)\n"
        "  --baud 9600|4800|2400|1200          the only baud rate it answers at (default 9600)\n"
        "  --link PATH        place a symbolic link to the pty at PATH (removed at the end)\n"
        "  --paced            answers and commands take their real wire time (10 bits a character)\n"
        "  --log FILE         append every received line to FILE, with time and client baud rate\n"
        "  --load OHMS|open   resistive load on the output (default: open circuit)\n"
        "  --fault silence|late|garbage|babble|unplug|none\n"
        "                     start with a fault: no answers; late answers; noise instead of\n"
        "                     answers; an endless stream of noise without a line feed; the port\n"
        "                     vanishes right after start (see 'replug')\n"
        "  --late-ms N        how late a late answer is, in ms (default 1500)\n"
        "  --ignore-save NN   the first *SAV of memory NN is lost (the memory keeps what it had)\n"
        "  --serial TEXT      serial number in the identity answer\n"
        "  --firmware TEXT    firmware version in the identity answer\n"
        "  --help             this text\n"
        "\n"
        "Commands on standard input, one per line (each is answered on standard output with\n"
        "\"ok ...\" once it has taken effect, or \"error: ...\"):\n"
        "  silence            stop answering (commands are still carried out)\n"
        "  late [MS]          answer MS ms late (default: the --late-ms value)\n"
        "  garbage            send noise instead of answers\n"
        "  lag MS             the next answer only comes MS ms late\n"
        "  babble             send an endless stream of noise without a line feed, no answers\n"
        "  send TEXT          send the line TEXT now, unasked (as a late answer would arrive)\n"
        "  unplug             the port vanishes: the pty closes and the link is removed\n"
        "  replug [MODEL]     a new pty behind the same link; prints \"ok replug <device>\". With a\n"
        "                     MODEL, another instrument of that model (factory settings) comes back\n"
        "  normal             answer normally again (and replug if unplugged)\n"
        "  load OHMS|open     change the load\n"
        "  off                the output key on the front panel: the output switches off\n"
        "  trip ovp|ocp       the protection trips now\n"
        "  ignore-save NN     the next *SAV of memory NN is lost\n"
        "End of standard input only stops the reading of commands.\n"
        "\n"
        "Invalid options end the program with exit code 2.\n");
}

std::optional<ControlCommand> parseControlCommand(const QString& line, QString* error)
{
    const QStringList words = line.simplified().split(u' ', Qt::SkipEmptyParts);
    if (error)
        error->clear();
    if (words.isEmpty())
        return std::nullopt;
    const QString& verb = words[0];
    const QString argument = words.size() > 1 ? words[1] : QString();
    auto refuse = [&](const QString& why) -> std::optional<ControlCommand> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (words.size() > 2)
        return refuse(QStringLiteral("too many words: ") + line.simplified());
    ControlCommand c;
    if (verb == u"silence" || verb == u"garbage" || verb == u"babble" || verb == u"late") {
        c.kind = ControlCommand::SetFault;
        c.fault = *faultFromName(verb);
        if (!argument.isEmpty()) {
            if (verb != u"late" || !(c.lateMs = lateFromText(argument)))
                return refuse(QStringLiteral("invalid argument: ") + argument);
        }
        return c;
    }
    if (verb == u"replug" && !argument.isEmpty()) {
        c.kind = ControlCommand::Replug;
        c.modelIndex = modelIndexOfAnyCase(argument);
        if (c.modelIndex < 0)
            return refuse(QStringLiteral("unknown model: ") + argument);
        return c;
    }
    if (verb == u"unplug" || verb == u"replug" || verb == u"normal" || verb == u"off") {
        if (!argument.isEmpty())
            return refuse(verb + QStringLiteral(" takes no argument"));
        c.kind = verb == u"unplug"   ? ControlCommand::Unplug
                 : verb == u"replug" ? ControlCommand::Replug
                 : verb == u"normal" ? ControlCommand::Normal
                                     : ControlCommand::OutputOff;
        return c;
    }
    if (verb == u"load") {
        c.kind = ControlCommand::SetLoad;
        if (argument.isEmpty() || !loadFromText(argument, c.loadOhms))
            return refuse(QStringLiteral("invalid load: ") + argument);
        return c;
    }
    if (verb == u"lag") {
        c.kind = ControlCommand::LagOnce;
        if (!(c.lateMs = lateFromText(argument)))
            return refuse(QStringLiteral("invalid argument: ") + argument);
        return c;
    }
    if (verb == u"ignore-save") {
        c.kind = ControlCommand::IgnoreSave;
        const auto memory = memoryFromText(argument);
        if (!memory)
            return refuse(QStringLiteral("ignore-save takes a memory 0 to 99"));
        c.memory = *memory;
        return c;
    }
    if (verb == u"send") {
        if (argument.isEmpty())
            return refuse(QStringLiteral("send takes the text of a line"));
        c.kind = ControlCommand::SendLine;
        c.line = argument;
        return c;
    }
    if (verb == u"trip") {
        c.kind = ControlCommand::Trip;
        if (argument == u"ovp")
            c.protection = Protection::Ovp;
        else if (argument == u"ocp")
            c.protection = Protection::Ocp;
        else
            return refuse(QStringLiteral("trip ovp or trip ocp"));
        return c;
    }
    return refuse(QStringLiteral("unknown command: ") + verb);
}

} // namespace orx::sim
