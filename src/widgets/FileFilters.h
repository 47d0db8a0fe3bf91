// File-type filters of the file dialogs. Our filters are written in the
// classic "Description|patterns|Description|patterns||" form; Qt's dialogs
// want one "Description (patterns)" entry per type.
#pragma once

#include <QString>
#include <QStringList>

// "BibTeX files (*.bib)|*.bib|All files (*.*)|*.*||" gives
// {"BibTeX files (*.bib)", "All files (*)"}. Patterns separated by ';' become
// blank-separated, "*.*" (every file, also those without a dot) becomes "*",
// and a description that already ends in its own "(patterns)" is not given a
// second pair. A description without patterns is dropped.
QStringList QtFiltersFromWindowsFilter(const QString& filter);

// The suffix Qt expects for a default extension: ".bib" and "bib" both give
// "bib".
QString QtDefaultSuffix(const QString& extension);
