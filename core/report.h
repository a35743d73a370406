#pragma once
// The report of sizing files for scripts and spreadsheets: for each file,
// both circuits' inputs, results and valve checks, as text for people, as
// CSV (RFC 4180) or as JSON. Whoever gathers the values (the command line,
// off the window that loaded the file) fills in ReportFile; the formats
// only write them out.
//
// Numbers: text and CSV write them as the window does (two decimals, the
// check's inputs with the decimals of the check window, the process decimal
// separator); JSON writes every number in full, as the shortest text that
// reads back to the same double, and null where there is none. Verdicts and
// reasons are the check's own words (core/checktexts.h). Texts are UTF-8.
#include "core/checkinputs.h"
#include "core/valvecheck.h"

#include <optional>
#include <string>
#include <vector>

enum class ReportFormat { Text, Csv, Json };

// One input field of a circuit.
struct ReportInput {
    std::string key;     // its key in the settings file without the circuit's digit: "dPr", "dPs", "Q"
    std::string caption; // as the window labels it: "dPр"
    std::string unit;    // "атм", "м3/ч"
    double value = 0;    // as the field holds it
};

struct ReportCircuit {
    int circuit = 1;  // 1 dependent, 2 independent
    std::string name; // the caption of the circuit's page
    std::vector<ReportInput> inputs;
    // The results as the window shows them; none where it shows "???".
    double valveDrop = 0;
    std::optional<double> kv;
    double kvy = 0; // the Kvy field
    std::optional<double> actualLoss;
    // The result lines word for word, for people.
    std::vector<std::string> resultLines;
    CheckInputs checkInputs;
    ValveCheck check; // evaluated with the Kvy of the field
};

struct ReportFile {
    std::string name; // the file as given (or the settings file's path)
    std::vector<ReportCircuit> circuits;
};

std::string reportText(const std::vector<ReportFile> &files);
// A header row, then one row a file and circuit; CRLF line ends.
std::string reportCsv(const std::vector<ReportFile> &files);
std::string reportJson(const std::vector<ReportFile> &files);
std::string report(const std::vector<ReportFile> &files, ReportFormat format);

// The circuit's scheme in a word: "зависимая" (1), "независимая" (2).
const std::string &schemeName(int circuit);

// The shortest text that reads back to `value` ("0.1", "1e+20"); "null"
// for NaN and the infinities, which JSON has no numbers for.
std::string jsonNumber(double value);
// `s` as a JSON string, quotes included.
std::string jsonString(const std::string &s);
// `s` as a CSV field: quoted where it holds a comma, a quote, CR or LF.
std::string csvField(const std::string &s);
