#pragma once

#include <QString>

// Catalogue files and tile pictures are often made on Windows: a "\" in a
// name is a folder separator, and names match without regard to letter case.
// Returns the existing file that `path` names, matching each component
// case-insensitively when the exact name is not found; returns `path` itself
// (with "/" separators) when nothing matches.
QString resolveCatalogueFile(const QString& path);

// `name` taken relative to `directory`, with "\" turned into "/".
QString catalogueFilePath(const QString& directory, const QString& name);
