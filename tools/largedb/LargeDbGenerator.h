#pragma once
// Writes a large, realistic vocabulary database for benchmarks and load tests:
// the schema's tables with Lang1_/Lang2_ columns, "Languages" =
// "Sprache1=Deutsch@Sprache2=Englisch@", "DBVersion" 2, the eight areas,
// attributes, synonyms (some orphaned) and relations. Deterministic.
#include <QString>

namespace LargeDb {

// Replaces any file at `path`. Returns false with *error set on failure.
bool generate(const QString& path, int entries, QString* error = nullptr);

} // namespace LargeDb
