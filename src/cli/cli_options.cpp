#include "cli/cli_options.h"

#include <algorithm>
#include <optional>

#include "core/model/number_text.h"

namespace tarn {

namespace {

const char* const kUsage =
    R"USAGE(Usage: tarn-cli calc PROJECT [--points N] [--format csv|xlsx|table] [--precision normal|high] [-o FILE]
       tarn-cli convert OLD.trn NEW.cld
       tarn-cli convert A.cld B.cld
       tarn-cli --help
       tarn-cli --version

The batch tool of Tarn: calculates the equilibria of a project in solution and
converts project files, for use from scripts.

calc PROJECT
  Calculates the point series of the project's own calculation type (the
  titration simulation or the species distribution saved in it) and writes its
  concentration table. PROJECT is a project file (.cld) or an old-format file
  (.trn). The conditions are checked first, as by the program's Calculate
  command. Concentrations are in mol/L (mol dm-3), volumes in mL.

  --points N      number of points of the series, 2 to 100000 (default 101)
  --format csv    (the default) one header row, then one row per point.
                  Columns: point; Titre (titration only: the added titrant
                  volume); "total NAME" for every reagent; then for every
                  reagent its free concentration ("free NAME"), its pH
                  ("pH(calc)": the proton reagent when its total is given) or
                  its pX ("p(NAME)": a reagent whose pX is given, whose total
                  column then holds the total recomputed from the results);
                  every soluble species (its formula; H-1 is headed OH); every
                  solid (amount per litre, 0 when not precipitated).
                  A project with an activity correction (Davies or extended
                  Debye-Hueckel) heads the proton's column "-log[NAME]", adds
                  "-log a(NAME)" (-log10 of its activity) beside it and
                  "ionic strength" (mol/L) after the free columns.
                  Values have 17 significant digits and "." as the decimal
                  point; fields are separated by commas; a heading holding a
                  comma or a quote is quoted; a pH or pX without a free
                  concentration is an empty field; lines end in CR LF
                  (RFC 4180).
  --format xlsx   an Excel workbook (needs -o FILE) whose numbers are
                  numbers, on three sheets: "Concentrations" (the csv's
                  columns), "Percentages" (for every reagent, the share of
                  its total each species holds, beside the point, the titre
                  and the pH or pX) and "Model" (the program's version, the
                  date, the conditions, the species and solids with their
                  constants). Numbers have 16 significant digits.
  --format table  the concentration table as the program copies it to the
                  clipboard: the caption lines, the log beta and log Ksp of
                  every species and solid (and a line naming an activity
                  correction), then the grid with TAB-separated
                  fields in the program's number formats, with the decimal
                  separator of the locale (LC_NUMERIC). Lines end in LF.
  --precision normal|high
                  number formats of --format table: normal (4 significant
                  figures, the default) or high (7 or more); csv always has
                  full precision
  -o FILE, --output FILE
                  write to FILE (replaced whole; an old FILE stays as it was
                  when the writing fails) instead of standard output; "-" is
                  standard output
  Long options may also be written --points=N, --format=table, ...

convert INPUT OUTPUT
  Reads INPUT, an old-format file (.trn, either layout) or a project file
  (.cld), and writes it to OUTPUT as a project file in the program's canonical
  form. A project file that holds a model only (no conditions) gets the
  program's default conditions: a species distribution, volumes 10, 12 and
  1 mL, totals 0, pX 3 to 9. OUTPUT may not be an old-format (.trn) file.

A file whose name ends in .trn (any case) is read as an old-format file, one
that ends in .cld (any case) as a project file; any other is not read. Messages of the program (a refused file, a number out
of range, a failed calculation) are printed on standard error.

Exit status:
  0  success
  1  the calculation failed: the conditions were refused or a point did not
     converge (the program's message is on standard error)
  2  bad usage, or a file that cannot be read or written (the reason is on
     standard error)
)USAGE";

bool IsHelp(const std::string& arg) {
  return arg == "--help" || arg == "-h";
}

bool IsVersion(const std::string& arg) {
  return arg == "--version";
}

// A count written with digits only, within [kMinPoints, kMaxPoints].
std::optional<int> PointCount(const std::string& text) {
  if (text.empty() || text.size() > 9 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int n = ParseInteger(text);
  if (n < kMinPoints || n > kMaxPoints) return std::nullopt;
  return n;
}

// Applies one option with its value; an error text when it is refused.
std::string ApplyOption(const std::string& name, const std::string& value, CliOptions& o) {
  if (name == "--points") {
    std::optional<int> n = PointCount(value);
    if (!n) return "--points needs a whole number from 2 to 100000, not '" + value + "'";
    o.points = *n;
  } else if (name == "--format") {
    if (value == "csv") {
      o.format = OutputFormat::kCsv;
    } else if (value == "xlsx") {
      o.format = OutputFormat::kWorkbook;
    } else if (value == "table") {
      o.format = OutputFormat::kTable;
    } else {
      return "--format is csv, xlsx or table, not '" + value + "'";
    }
  } else if (name == "--precision") {
    if (value != "normal" && value != "high") return "--precision is normal or high, not '" + value + "'";
    o.precision = value == "normal" ? TablePrecision::kNormal : TablePrecision::kHigh;
  } else if (name == "-o" || name == "--output") {
    if (value.empty()) return name + " needs a file name";
    o.outputFile = value;
  } else {
    return "unknown option '" + name + "'";
  }
  return {};
}

bool IsOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-';
}

// Reads the options and file names after the command.
std::string ReadRest(const std::vector<std::string>& args, CliOptions& o) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!IsOption(arg)) {
      o.files.push_back(arg);
      continue;
    }
    if (o.command == CliCommand::kConvert) return "convert takes no options ('" + arg + "')";
    std::string name = arg, value;
    if (std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return arg + " needs a value";
    }
    if (std::string error = ApplyOption(name, value, o); !error.empty()) return error;
  }
  return {};
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  ParsedArguments r;
  if (std::any_of(args.begin(), args.end(), IsHelp)) {
    r.ok = true;
    return r;
  }
  if (std::any_of(args.begin(), args.end(), IsVersion)) {
    r.ok = true;
    r.options.command = CliCommand::kVersion;
    return r;
  }
  if (args.empty()) {
    r.error = "no command given (calc or convert); see tarn-cli --help";
    return r;
  }
  if (args[0] == "calc") {
    r.options.command = CliCommand::kCalc;
  } else if (args[0] == "convert") {
    r.options.command = CliCommand::kConvert;
  } else {
    r.error = "unknown command '" + args[0] + "'; see tarn-cli --help";
    return r;
  }
  r.error = ReadRest(args, r.options);
  const std::string& out = r.options.outputFile;
  if (r.error.empty() && r.options.format == OutputFormat::kWorkbook && (out.empty() || out == "-"))
    r.error = "--format xlsx writes a file: name it with -o FILE";
  if (r.error.empty()) {
    std::size_t wanted = r.options.command == CliCommand::kCalc ? 1 : 2;
    if (r.options.files.size() != wanted)
      r.error = r.options.command == CliCommand::kCalc ? "calc needs one project file"
                                                       : "convert needs an input and an output file";
  }
  r.ok = r.error.empty();
  return r;
}

const char* UsageText() {
  return kUsage;
}

}  // namespace tarn
