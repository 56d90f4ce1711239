#pragma once

#include <QString>

#include <vector>

// radioinfo-cli ports: the port list as the window offers it, and the user's
// aliases the list leaves out, so a mistyped alias shows with its target.
struct PortLine {
    int number = 0;
    QString port;   // COMn
    QString device; // what COMn opens; empty for a broken alias
    QString alias;  // the alias folder's entry for COMn, if any
    QString target; // what that entry links to, as written
    bool broken = false;
    QString reason; // broken: why the alias is no port
};

// Every listed port in number order, a broken alias after the port of its
// number, reasons in the language of langType.
std::vector<PortLine> PortLines(int langType);

// One line each: COMn, then its device and alias, or the broken alias and
// why; control characters escaped.
QString PortsText(const std::vector<PortLine>& lines, int langType);

// A JSON array of objects: port, device, alias, target, broken, reason.
QString PortsJson(const std::vector<PortLine>& lines);
