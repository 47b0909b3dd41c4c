#include "rules/ProgramStart.h"

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> items;
    std::string item;
    for (char c : commandLine) {
        if (c != ' ' && c != '\t') {
            item += c;
        } else if (!item.empty()) {
            items.push_back(item);
            item.clear();
        }
    }
    if (!item.empty())
        items.push_back(item);
    return items;
}
