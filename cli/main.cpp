// meshlook-cli: inspects, lists, extracts, converts and draws models without a window. Wires the
// message sink, picks the command and turns what ends it into the exit status.
#include <cstdio>
#include <cstring>
#include <new>

#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "render/memory_reuse.h"
#include "state/file_io.h"

namespace {

const Command* const all_commands[] = {&info_command,    &list_command,   &extract_command,
                                       &convert_command, &render_command, &thumbnail_command};

const Command* find_command(const char* name) {
    for (const Command* command : all_commands)
        if (std::strcmp(command->name, name) == 0)
            return command;
    return nullptr;
}

void print_usage(std::FILE* to) {
    std::fputs("usage: meshlook-cli COMMAND [ARGS...]\n\ncommands:\n", to);
    for (const Command* command : all_commands)
        std::fprintf(to, "  %s %s\n", command->name, command->usage);
    std::fputs("\n'meshlook-cli COMMAND --help' tells more about a command.\n", to);
}

void print_help(const Command& command) {
    std::printf("usage: meshlook-cli %s %s\n\n%s", command.name, command.usage, command.help);
}

int run_command(const Command& command, int argc, char** argv) {
    FolderListingScope listing; // a folder is listed once per command, however many names miss
    try {
        Args args = parse_args({argv, size_t(argc)}, command.options);
        if (args.has("help")) {
            print_help(command);
            return 0;
        }
        return command.run(args);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "meshlook-cli %s: %s\nTry 'meshlook-cli %s --help'.\n", command.name,
                     error.message.c_str(), command.name);
        return EXIT_USAGE;
    } catch (const CommandFailure& failure) {
        report(failure.message);
        return failure.status;
    } catch (const ReaderStop& stop) {
        return stop.status; // the sink has shown the reader's message
    } catch (const std::bad_alloc&) {
        report("out of memory");
        return EXIT_FAILED;
    }
}

} // namespace

void expect_arguments(const Args& args, size_t count, const char* what) {
    if (args.positional().size() != count)
        throw UsageError{std::string("expects ") + what + ", got " +
                         std::to_string(args.positional().size()) + " arguments"};
}

int main(int argc, char** argv) {
    prefer_large_pages_for_tables();
    keep_freed_memory_for_reuse();
    install_message_sink(&cli_sink);
    if (argc < 2) {
        print_usage(stderr);
        return EXIT_USAGE;
    }
    const char* name = argv[1];
    if (std::strcmp(name, "--version") == 0) {
        std::printf("meshlook-cli %s\n", MESHLOOK_VERSION);
        return 0;
    }
    if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0 ||
        std::strcmp(name, "help") == 0) {
        const Command* command = argc > 2 ? find_command(argv[2]) : nullptr;
        if (command)
            print_help(*command);
        else
            print_usage(stdout);
        return 0;
    }
    const Command* command = find_command(name);
    if (!command) {
        std::fprintf(stderr, "meshlook-cli: unknown command '%s'\n", name);
        print_usage(stderr);
        return EXIT_USAGE;
    }
    int status = run_command(*command, argc - 2, argv + 2);
    std::fflush(stdout);
    return status;
}
