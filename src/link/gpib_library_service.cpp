#include "link/gpib_library_service.h"

#include "base/program_state.h"

#include <QLibrary>
#include <QtGlobal>
#include <algorithm>

namespace orx {
namespace {

constexpr int kStatusError = 0x8000; // ERR in ibsta
constexpr int kBoard = 0;
constexpr int kNoSecondaryAddress = 0;
constexpr int kTimeoutOneSecond = 11; // T1s
constexpr int kAssertEoiOnLastByte = 1;
constexpr int kNoEndOfStringCharacter = 0;
constexpr int kMinAddress = 0;
constexpr int kMaxAddress = 30;

const char* const kSystemLibrary = "libgpib.so.0";

template <typename Function>
bool resolve(QLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

} // namespace

struct GpibLibraryService::Api
{
    int (*ibdev)(int board, int pad, int sad, int tmo, int eot, int eos) = nullptr;
    int (*ibwrt)(int ud, const void* buf, long count) = nullptr;
    int (*ibrd)(int ud, void* buf, long count) = nullptr;
    int (*ibloc)(int ud) = nullptr;
    int (*ibonl)(int ud, int v) = nullptr;
    int (*threadIbsta)() = nullptr;
    int (*threadIberr)() = nullptr;
    long (*threadIbcntl)() = nullptr;

    // Every call, or nothing: a library that lacks one is as good as none.
    static std::unique_ptr<Api> load(const QString& path)
    {
        if (path.isEmpty())
            return nullptr;
        // The library stays loaded for the rest of the run; the QLibrary object does not unload it.
        QLibrary library(path);
        if (!library.load())
            return nullptr;
        auto api = std::make_unique<Api>();
        const bool complete =
            resolve(library, "ibdev", api->ibdev) && resolve(library, "ibwrt", api->ibwrt) &&
            resolve(library, "ibrd", api->ibrd) && resolve(library, "ibloc", api->ibloc) &&
            resolve(library, "ibonl", api->ibonl) && resolve(library, "ThreadIbsta", api->threadIbsta) &&
            resolve(library, "ThreadIberr", api->threadIberr) &&
            resolve(library, "ThreadIbcntl", api->threadIbcntl);
        return complete ? std::move(api) : nullptr;
    }
};

QString gpibLibraryPath()
{
    if (qEnvironmentVariableIsSet("ORX_GPIB_LIBRARY"))
        return qEnvironmentVariable("ORX_GPIB_LIBRARY");
    return QString::fromLatin1(kSystemLibrary);
}

GpibLibraryService::GpibLibraryService() : GpibLibraryService(gpibLibraryPath()) {}

GpibLibraryService::GpibLibraryService(const QString& libraryPath)
    : m_api(Api::load(libraryPath)), m_address(kDefaultGpibAddress)
{}

GpibLibraryService::~GpibLibraryService()
{
    takeOffline();
}

bool GpibLibraryService::setPrimaryAddress(int address)
{
    if (address < kMinAddress || address > kMaxAddress)
        return false;
    m_address = address;
    return true;
}

bool GpibLibraryService::applyConfiguration()
{
    if (!m_api)
        return false;
    takeOffline();
    const int device = m_api->ibdev(kBoard, m_address, kNoSecondaryAddress, kTimeoutOneSecond,
                                    kAssertEoiOnLastByte, kNoEndOfStringCharacter);
    if (device < 0)
        return false;
    m_device = device;
    if (succeeded())
        return true;
    // A descriptor that came with an error is not kept, but it is released.
    takeOffline();
    return false;
}

bool GpibLibraryService::write(const QByteArray& text)
{
    if (!m_api || m_device < 0)
        return false;
    m_api->ibwrt(m_device, text.constData(), static_cast<long>(text.size()));
    return succeeded();
}

std::optional<QByteArray> GpibLibraryService::read()
{
    if (!m_api || m_device < 0)
        return std::nullopt;
    QByteArray answer(kReadBufferBytes, '\0');
    m_api->ibrd(m_device, answer.data(), static_cast<long>(answer.size()));
    if (!succeeded())
        return std::nullopt;
    // Only the bytes the driver says it received, and never more than the buffer holds.
    const long received = m_api->threadIbcntl();
    answer.truncate(static_cast<qsizetype>(std::clamp<long>(received, 0, kReadBufferBytes)));
    return answer;
}

bool GpibLibraryService::goToLocal()
{
    if (!m_api || m_device < 0)
        return false;
    m_api->ibloc(m_device);
    return succeeded();
}

bool GpibLibraryService::succeeded()
{
    if ((m_api->threadIbsta() & kStatusError) == 0)
        return true;
    m_lastError = m_api->threadIberr();
    return false;
}

void GpibLibraryService::takeOffline()
{
    if (!m_api || m_device < 0)
        return;
    m_api->ibonl(m_device, 0);
    m_device = -1;
}

} // namespace orx
