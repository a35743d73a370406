#include "core/report.h"

#include "core/checktexts.h"
#include "core/numtext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// A check has at most three rows: the series values below and above Kv and
// the chosen Kvy.
constexpr int kMaxCheckRows = 3;
// JSON: the levels laid out one member a line (the files, a file, its
// circuits, a circuit, its inputs, results and check, the check's rows);
// deeper objects (a row, the check's inputs) stay on one line.
constexpr int kLaidOutDepth = 6;

// The inputs of both circuits, as the CSV's columns name them.
const char *const kInputColumns[] = {"dPr", "dPf", "dPppr", "dPs", "dPt", "dPtr", "dPdr", "dPn", "Q"};

std::string twoDecimals(double value) { return FormatTwoDecimals(value); }

std::string optionalText(const std::optional<double> &value) { return value ? twoDecimals(*value) : std::string(); }

std::string jsonOptional(const std::optional<double> &value) { return value ? jsonNumber(*value) : "null"; }

std::string jsonText(const std::string &text) { return text.empty() ? "null" : jsonString(text); }

// The verdict of a cavitation check, or the reason there is none.
std::string cavitationWords(const CavitationCheck &check)
{
    return check.reason != CheckReason::None ? reasonText(check.reason) : cavitationVerdictText(check.verdict);
}

std::string authorityWords(const ValveRow &row)
{
    return row.verdict == AuthorityVerdict::NotComputed ? reasonText(row.authorityReason)
                                                        : authorityVerdictText(row.verdict);
}

std::optional<double> authorityOf(const ValveRow &row)
{
    if (row.authorityReason != CheckReason::None)
        return std::nullopt;
    return row.authority;
}

std::optional<double> flowOf(const ValveCheck &check)
{
    if (check.flow.reason != CheckReason::None)
        return std::nullopt;
    return check.flow.flowM3h;
}

std::optional<double> allowedDropOf(const CavitationLimit &limit)
{
    if (limit.reason != CheckReason::None)
        return std::nullopt;
    return limit.allowedDropAtm;
}

const ReportInput *inputOf(const ReportCircuit &circuit, const std::string &key)
{
    for (const ReportInput &input : circuit.inputs)
        if (input.key == key)
            return &input;
    return nullptr;
}

// --- text --------------------------------------------------------------------

void textCircuit(std::string &out, const ReportCircuit &c)
{
    out += "  " + c.name + "\n";
    out += "    Исходные данные:\n";
    for (const ReportInput &input : c.inputs)
        out += "      " + input.caption + " = " + twoDecimals(input.value) + " " + input.unit + "\n";
    out += "    Результаты подбора:\n";
    for (const std::string &line : c.resultLines)
        out += "      " + line + "\n";
    const CheckTexts texts = checkTexts(c.check, c.checkInputs);
    out += "    Проверка подбора:\n";
    for (const std::string *line : {&texts.inputs, &texts.flow, &texts.series, &texts.limit})
        out += "      " + *line + "\n";
    for (const CheckRowTexts &row : texts.rows) {
        out +=
            "      Kvy " + row.kvy + " м3/ч (" + row.kind + "): потери " + row.loss + " атм; " + row.authority + "\n";
        out += "        в рабочей точке: " + row.designPoint + "\n";
        out += "        при закрытии: " + row.closing + "\n";
    }
}

// --- CSV ---------------------------------------------------------------------

struct CsvColumn {
    std::string name;
    std::function<std::string(const ReportFile &, const ReportCircuit &)> cell;
};

std::vector<CsvColumn> csvColumns()
{
    std::vector<CsvColumn> columns = {
        {"file", [](const ReportFile &f, const ReportCircuit &) { return f.name; }},
        {"circuit", [](const ReportFile &, const ReportCircuit &c) { return std::to_string(c.circuit); }},
        {"scheme", [](const ReportFile &, const ReportCircuit &c) { return schemeName(c.circuit); }},
    };
    for (const char *key : kInputColumns)
        columns.push_back({key, [key = std::string(key)](const ReportFile &, const ReportCircuit &c) {
                               const ReportInput *input = inputOf(c, key);
                               return input ? twoDecimals(input->value) : std::string();
                           }});
    const auto result = [](const char *name, std::function<std::string(const ReportCircuit &)> cell) {
        return CsvColumn{name, [cell](const ReportFile &, const ReportCircuit &c) { return cell(c); }};
    };
    columns.push_back(result("dPkl", [](const ReportCircuit &c) { return twoDecimals(c.valveDrop); }));
    columns.push_back(result("Kv", [](const ReportCircuit &c) { return optionalText(c.kv); }));
    columns.push_back(result("Kvy", [](const ReportCircuit &c) { return twoDecimals(c.kvy); }));
    columns.push_back(result("dPklReal", [](const ReportCircuit &c) { return optionalText(c.actualLoss); }));
    columns.push_back(result(
        "HeatLoad", [](const ReportCircuit &c) { return formatFixed(c.checkInputs.HeatLoad, kHeatLoadDecimals); }));
    columns.push_back(
        result("t1", [](const ReportCircuit &c) { return formatFixed(c.checkInputs.t1, kTemperatureDecimals); }));
    columns.push_back(
        result("t2", [](const ReportCircuit &c) { return formatFixed(c.checkInputs.t2, kTemperatureDecimals); }));
    columns.push_back(
        result("P1", [](const ReportCircuit &c) { return formatFixed(c.checkInputs.P1, kInletPressureDecimals); }));
    columns.push_back(result("z", [](const ReportCircuit &c) {
        return formatFixed(effectiveCavitationZ(c.checkInputs.z), kCavitationZDecimals);
    }));
    columns.push_back(result("G", [](const ReportCircuit &c) { return optionalText(flowOf(c.check)); }));
    columns.push_back(result("flow_reason", [](const ReportCircuit &c) { return reasonText(c.check.flow.reason); }));
    columns.push_back(
        result("available_drop", [](const ReportCircuit &c) { return twoDecimals(c.check.availableDropAtm); }));
    columns.push_back(result("rows_reason", [](const ReportCircuit &c) { return reasonText(c.check.rowsReason); }));
    columns.push_back(
        result("dPcav", [](const ReportCircuit &c) { return optionalText(allowedDropOf(c.check.cavitation)); }));
    columns.push_back(
        result("cavitation_reason", [](const ReportCircuit &c) { return reasonText(c.check.cavitation.reason); }));
    for (int i = 0; i < kMaxCheckRows; ++i) {
        const std::string prefix = "row" + std::to_string(i + 1) + "_";
        const auto row = [i](std::function<std::string(const ValveRow &)> cell) {
            return [i, cell](const ReportCircuit &c) {
                return std::size_t(i) < c.check.rows.size() ? cell(c.check.rows[std::size_t(i)]) : std::string();
            };
        };
        columns.push_back(
            result((prefix + "kind").c_str(), row([](const ValveRow &r) { return rowKindText(r.kind); })));
        columns.push_back(result((prefix + "Kvy").c_str(), row([](const ValveRow &r) { return kvyText(r.kvyM3h); })));
        columns.push_back(
            result((prefix + "loss").c_str(), row([](const ValveRow &r) { return twoDecimals(r.actualLossAtm); })));
        columns.push_back(result((prefix + "authority").c_str(),
                                 row([](const ValveRow &r) { return optionalText(authorityOf(r)); })));
        columns.push_back(result((prefix + "authority_verdict").c_str(), row(authorityWords)));
        columns.push_back(result((prefix + "cavitation").c_str(),
                                 row([](const ValveRow &r) { return cavitationWords(r.designPoint); })));
        columns.push_back(result((prefix + "cavitation_closing").c_str(),
                                 row([](const ValveRow &r) { return cavitationWords(r.closing); })));
    }
    return columns;
}

// --- JSON --------------------------------------------------------------------

// Members of one JSON object, written in the order added.
class JsonObject
{
public:
    JsonObject &add(const std::string &key, const std::string &json)
    {
        m_text += (m_text.empty() ? "" : ",") + jsonString(key) + ":" + json;
        return *this;
    }
    std::string text() const { return "{" + m_text + "}"; }

private:
    std::string m_text;
};

std::string jsonArray(const std::vector<std::string> &items)
{
    std::string out;
    for (const std::string &item : items)
        out += (out.empty() ? "" : ",") + item;
    return "[" + out + "]";
}

// Compact JSON laid out for reading: an object or array a level deeper
// each, one member a line; the objects of the check's rows and the inputs
// stay on one line each.
std::string laidOut(const std::string &json)
{
    std::string out;
    int depth = 0;
    int flat = 0; // the depth from which everything stays on one line; 0: none
    bool inString = false;
    const auto newline = [&out, &depth] { out += "\n" + std::string(std::size_t(depth) * 2, ' '); };
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char ch = json[i];
        if (inString) {
            out += ch;
            if (ch == '\\')
                out += json[++i];
            else if (ch == '"')
                inString = false;
            continue;
        }
        switch (ch) {
        case '"':
            inString = true;
            out += ch;
            break;
        case '{':
        case '[':
            out += ch;
            ++depth;
            if (flat == 0 && depth > kLaidOutDepth && ch == '{')
                flat = depth;
            if (flat == 0 && i + 1 < json.size() && json[i + 1] != ']')
                newline();
            break;
        case '}':
        case ']':
            --depth;
            if (flat == 0 && json[i - 1] != '[')
                newline();
            out += ch;
            if (flat > depth)
                flat = 0;
            break;
        case ',':
            out += ch;
            if (flat == 0)
                newline();
            else
                out += ' ';
            break;
        case ':':
            out += ": ";
            break;
        default:
            out += ch;
        }
    }
    return out + "\n";
}

std::string jsonCavitation(const CavitationCheck &check)
{
    const bool verdict = check.reason == CheckReason::None;
    return JsonObject()
        .add("verdict", verdict ? jsonString(cavitationVerdictText(check.verdict)) : "null")
        .add("reason", jsonText(reasonText(check.reason)))
        .add("drop", jsonNumber(check.dropAtm))
        .add("allowedDrop", verdict ? jsonNumber(check.allowedDropAtm) : "null")
        .text();
}

std::string jsonRow(const ValveRow &row)
{
    return JsonObject()
        .add("kind", jsonString(rowKindText(row.kind)))
        .add("Kvy", jsonNumber(row.kvyM3h))
        .add("loss", jsonNumber(row.actualLossAtm))
        .add("authority", jsonOptional(authorityOf(row)))
        .add("authorityVerdict", jsonText(authorityVerdictText(row.verdict)))
        .add("authorityReason", jsonText(reasonText(row.authorityReason)))
        .add("designPoint", jsonCavitation(row.designPoint))
        .add("closing", jsonCavitation(row.closing))
        .text();
}

std::string jsonCircuit(const ReportCircuit &c)
{
    JsonObject inputs;
    for (const ReportInput &input : c.inputs)
        inputs.add(input.key, jsonNumber(input.value));
    const std::string results = JsonObject()
                                    .add("dPkl", jsonNumber(c.valveDrop))
                                    .add("Kv", jsonOptional(c.kv))
                                    .add("Kvy", jsonNumber(c.kvy))
                                    .add("dPklReal", jsonOptional(c.actualLoss))
                                    .text();
    const CheckInputs &in = c.checkInputs;
    const ValveCheck &check = c.check;
    const std::string checkInputs = JsonObject()
                                        .add("HeatLoad", jsonNumber(in.HeatLoad))
                                        .add("t1", jsonNumber(in.t1))
                                        .add("t2", jsonNumber(in.t2))
                                        .add("P1", jsonNumber(in.P1))
                                        .add("z", jsonNumber(in.z))
                                        .text();
    const std::string flow = JsonObject()
                                 .add("G", jsonOptional(flowOf(check)))
                                 .add("reason", jsonText(reasonText(check.flow.reason)))
                                 .add("pressureAssumed", check.flow.pressureAssumed ? "true" : "false")
                                 .text();
    const bool limit = check.cavitation.reason == CheckReason::None;
    const std::string cavitation =
        JsonObject()
            .add("allowedDrop", jsonOptional(allowedDropOf(check.cavitation)))
            .add("z", jsonNumber(check.cavitation.z))
            .add("saturation", limit ? jsonNumber(atmFromKPa(check.cavitation.saturationKPa)) : "null")
            .add("reason", jsonText(reasonText(check.cavitation.reason)))
            .text();
    std::vector<std::string> rows;
    for (const ValveRow &row : check.rows)
        rows.push_back(jsonRow(row));
    const std::string checked = JsonObject()
                                    .add("inputs", checkInputs)
                                    .add("flow", flow)
                                    .add("availableDrop", jsonNumber(check.availableDropAtm))
                                    .add("rowsReason", jsonText(reasonText(check.rowsReason)))
                                    .add("cavitation", cavitation)
                                    .add("rows", jsonArray(rows))
                                    .text();
    return JsonObject()
        .add("circuit", std::to_string(c.circuit))
        .add("scheme", jsonString(schemeName(c.circuit)))
        .add("name", jsonString(c.name))
        .add("inputs", inputs.text())
        .add("results", results)
        .add("check", checked)
        .text();
}

} // namespace

const std::string &schemeName(int circuit)
{
    static const std::string kNames[] = {"зависимая", "независимая"};
    return kNames[circuit == 2 ? 1 : 0];
}

std::string jsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    // The shortest form that reads back to the same double, in the C form.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string jsonString(const std::string &s)
{
    std::string out = "\"";
    for (const char ch : s) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string csvField(const std::string &s)
{
    if (s.find_first_of(",\"\r\n") == std::string::npos)
        return s;
    std::string out = "\"";
    for (const char ch : s) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

std::string reportText(const std::vector<ReportFile> &files)
{
    std::string out;
    for (const ReportFile &file : files) {
        if (!out.empty())
            out += "\n";
        out += file.name + "\n";
        for (const ReportCircuit &circuit : file.circuits)
            textCircuit(out, circuit);
    }
    return out;
}

std::string reportCsv(const std::vector<ReportFile> &files)
{
    const std::vector<CsvColumn> columns = csvColumns();
    std::string out;
    const auto line = [&out](const std::vector<std::string> &cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            out += (i ? "," : "") + csvField(cells[i]);
        out += "\r\n";
    };
    std::vector<std::string> cells;
    for (const CsvColumn &column : columns)
        cells.push_back(column.name);
    line(cells);
    for (const ReportFile &file : files) {
        for (const ReportCircuit &circuit : file.circuits) {
            cells.clear();
            for (const CsvColumn &column : columns)
                cells.push_back(column.cell(file, circuit));
            line(cells);
        }
    }
    return out;
}

std::string reportJson(const std::vector<ReportFile> &files)
{
    std::vector<std::string> items;
    for (const ReportFile &file : files) {
        std::vector<std::string> circuits;
        for (const ReportCircuit &circuit : file.circuits)
            circuits.push_back(jsonCircuit(circuit));
        items.push_back(JsonObject().add("file", jsonString(file.name)).add("circuits", jsonArray(circuits)).text());
    }
    return laidOut(JsonObject().add("files", jsonArray(items)).text());
}

std::string report(const std::vector<ReportFile> &files, ReportFormat format)
{
    switch (format) {
    case ReportFormat::Csv:
        return reportCsv(files);
    case ReportFormat::Json:
        return reportJson(files);
    case ReportFormat::Text:
        break;
    }
    return reportText(files);
}
