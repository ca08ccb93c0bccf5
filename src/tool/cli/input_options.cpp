// One declaration of the input options that check, compile, plot, timing and view share.
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

}  // namespace scenario
