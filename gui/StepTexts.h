#pragma once

#include <QString>

// Names of undo steps, as the Edit menu shows them after "Undo " and "Redo ".
namespace satorix::steps {

// "Delete 1 program", "Drag 12 programs".
inline QString programs(const char* verb, int n)
{
    return n == 1 ? QStringLiteral("%1 1 program").arg(QLatin1String(verb))
                  : QStringLiteral("%1 %2 programs").arg(QLatin1String(verb)).arg(n);
}

inline QString named(const char* what, const QString& name)
{
    return name.isEmpty() ? QLatin1String(what) : QStringLiteral("%1 %2").arg(QLatin1String(what), name);
}

} // namespace satorix::steps
