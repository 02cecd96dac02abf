#pragma once
// The GPIB device service over the GPIB driver's C library (the usual IEEE 488 driver calls ibdev, ibwrt,
// ibrd, ibloc and ibonl), loaded when the service is made. Without the library, or with one that lacks
// any of the calls, GPIB is unusable: applying the configuration fails, and so does everything after.

#include "link/gpib_service.h"

#include <QString>
#include <memory>

namespace orx {

// The driver library to load: the file named by ORX_GPIB_LIBRARY when that is set (empty: none at
// all), otherwise the system's GPIB library.
QString gpibLibraryPath();

class GpibLibraryService : public GpibService
{
public:
    // The most one read returns; an instrument answer is a few dozen characters.
    static constexpr qsizetype kReadBufferBytes = 4096;

    GpibLibraryService();
    explicit GpibLibraryService(const QString& libraryPath); // empty path: no library
    ~GpibLibraryService() override;
    GpibLibraryService(const GpibLibraryService&) = delete;
    GpibLibraryService& operator=(const GpibLibraryService&) = delete;

    bool hasLibrary() const { return m_api != nullptr; }
    // The driver's error code (iberr) of the last call that failed, 0 when none failed yet.
    int lastError() const { return m_lastError; }

    int primaryAddress() const override { return m_address; }
    bool setPrimaryAddress(int address) override;
    bool applyConfiguration() override;
    bool write(const QByteArray& text) override;
    std::optional<QByteArray> read() override;
    bool goToLocal() override;

private:
    struct Api;
    bool succeeded();
    void takeOffline();

    std::unique_ptr<Api> m_api; // null when the library or one of its calls is missing
    int m_device = -1;          // the descriptor ibdev gave, -1 when none is configured
    int m_address;
    int m_lastError = 0;
};

} // namespace orx
