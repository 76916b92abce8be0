// The subcommands of kerbon-cli. Each takes the arguments after its own name and returns
// the process exit code; errors go to stderr.
#pragma once

int cmdInfo(int argc, char** argv);
int cmdSave(int argc, char** argv);
int cmdJoin(int argc, char** argv);
int cmdRender(int argc, char** argv);
int cmdNest(int argc, char** argv);
int cmdEdit(int argc, char** argv);
int cmdPrint(int argc, char** argv);
