#pragma once

#include <QString>

// Why a port did not open, for the second line of the "Cannot Open
// Communication Port." box, in the language of langType (2 Chinese, else
// English) as the window and radioinfo-cli show it. The system's part of a
// reason is its strerror (SystemErrorText), never Qt's English-only text.

// A COMn that neither the system nor an alias knows; on Linux with the broken
// alias of that number, if there is one.
QString UnknownPortReason(int portNo, int langType = 1);
// Why the aliases the user made for COM<portNo> are broken, a line each;
// empty when the number has no broken alias or one of its aliases is the
// port. A broken alias gives its number back to a device of that number.
QString BrokenAliasReason(int portNo, int langType = 1);

// A port another program holds: its lock file or its exclusive open. A port
// opened by its device path (portNo 0) is named by the device.
QString PortInUseReason(int portNo, const QString& device, int langType = 1);

// The device and the system's reason for errorCode (an errno value); with
// adviseDialout, the way to the serial devices too.
QString OpenFailureReason(const QString& device, int errorCode, bool adviseDialout,
                          int langType = 1);

// Whether joining the dialout group would let this user open the device the
// system refused with errorCode: permission denied (EACCES) to a user other
// than root who is not in the dialout group the device belongs to. Never on
// Windows.
bool DialoutWouldHelp(int errorCode, const QString& device);

// The errno that opening device as a terminal meets now, 0 when it opens (it
// is closed again at once). Qt reports its failures in English only and
// without their errno, so the device is asked again, alone. 0 on Windows.
int DeviceOpenError(const QString& device);

#ifndef _WIN32
struct AliasEntry;

// Why an entry of the alias folder is no port, in the language of langType.
QString AliasProblem(const AliasEntry& entry, int langType = 1);

// An alias entry as "link -> target", or the link alone when it is no link.
QString AliasText(const AliasEntry& entry);
#endif
