// One declaration of the input options that check, compile, plot, timing and view share, and of
// the stock and margin options of the commands that time the runs.
#include "tool/cli/input_options.h"

#include "tool/check/file_name_part.h"

namespace scenario {

void addSourceFileOptions(CLI::App& command, std::string& lineFile, std::string& trainFile) {
    command.add_option("LINE_FILE", lineFile, "Line source file")->required();
    command.add_option("TRAIN_FILE", trainFile, "Train source file")->required();
}

void addInputOption(CLI::App& command, std::vector<std::string>& inputs, const std::string& help) {
    command.add_option("INPUT", inputs, help)->required()->expected(1, 2);
}

void addNameOptions(CLI::App& command, std::string& scenarioName, std::string& trainNumber,
                    const NameOptionHelp& help) {
    CLI::Option* name = command.add_option("--name", scenarioName, help.name);
    CLI::Option* train = command.add_option("--train", trainNumber, help.train);
    for (CLI::Option* option : {name, train}) {
        if (help.required) option->required();
        option->check(fileNamePart());
    }
}

CLI::Option* addStockOption(CLI::App& command, std::optional<std::string>& stockFile,
                            const std::string& help) {
    return command.add_option("--stock", stockFile, help);
}

CLI::Option* addStockOption(CLI::App& command, std::string& stockFile, const std::string& help) {
    return command.add_option("--stock", stockFile, help);
}

CLI::Option* addMarginOption(CLI::App& command, double& margin, const std::string& help) {
    return command.add_option("--margin", margin, help)->check(CLI::NonNegativeNumber);
}

void addTimingFlagOptions(CLI::App& command, std::optional<std::string>& stockFile,
                          double& margin) {
    addStockOption(command, stockFile, "Stock file for --timing")->needs("--timing");
    addMarginOption(command, margin,
                    "With --timing, warn where the slack is below this per cent of the "
                    "fastest run")
        ->needs("--timing");
}

}  // namespace scenario
