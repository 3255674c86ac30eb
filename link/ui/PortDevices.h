#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace satorix {

// Which device each of COM1..COM4 opens. The configuration file has no room for it, so the
// choice lives in the profile; $SATORIX_COMn still overrides it for a run.
class PortDevices {
public:
    static constexpr const char* SECTION = "Port_Device_Section";

    static QString defaultDevice(int port);
    // The profile's choice, or the default.
    static QString device(int port);
    // Remembers the choice; the default is simply forgotten.
    static void setDevice(int port, const QString& path);
    // What a transfer on the port opens: $SATORIX_COMn, else the profile's choice, else the default.
    static std::string transferDevice(int port);
    // $SATORIX_COMn, empty when unset.
    static QString environmentOverride(int port);
    // Serial devices present under devRoot: ttyS*, ttyUSB*, ttyACM* and serial/by-id/*.
    static QStringList presentDevices(const QString& devRoot = QStringLiteral("/dev"));
};

} // namespace satorix
