#pragma once

#include <QString>

// Names of undo steps, as the Edit menu shows them after "Undo " and "Redo ".
namespace satorix::steps {

// "Delete 1 duplicate", "Delete 3 duplicates".
inline QString counted(const char* verb, int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(verb)).arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// "Delete 1 program", "Drag 12 programs".
inline QString programs(const char* verb, int n) { return counted(verb, n, "program", "programs"); }

inline QString named(const char* what, const QString& name)
{
    return name.isEmpty() ? QLatin1String(what) : QStringLiteral("%1 %2").arg(QLatin1String(what), name);
}

} // namespace satorix::steps
