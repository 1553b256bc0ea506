// Export of the three tabs into one file: Markdown or CSV.
#pragma once

#include <string>

// "# Lists", "# Active", "# Done", each followed by its tasks as a nested
// list, two spaces a level: "- [ ] " for a task, "- [x] " for a done one,
// " (due M-D-YYYY)" after a task with a due date. Lines end in CR LF.
std::string ExportMarkdown();
// A header line, then one record a task: tab, path (its parents' names
// joined by " > "), name, state (open, active or done), entered,
// activated, completed, due. Fields that need it are quoted as RFC 4180
// says; records end in CR LF.
std::string ExportCsv();
// The file's text for a path: CSV for a name ending in ".csv" (any case),
// else Markdown.
std::string ExportFor(const char* path);
