// The subcommands of kerbon-cli. Each takes the arguments after its own name and returns
// the process exit code; errors go to stderr.
#pragma once

// An object of the command's run left to the end of the process, never destroyed: the
// system takes a large drawing's memory back at once, where freeing its millions of
// records one by one takes a noticeable part of the run. Kept reachable, so leak checks
// stay quiet. One per type and process.
template <class T>
T& untilExit()
{
    static T* const object = new T();
    return *object;
}

int cmdInfo(int argc, char** argv);
int cmdSave(int argc, char** argv);
int cmdJoin(int argc, char** argv);
int cmdRender(int argc, char** argv);
int cmdNest(int argc, char** argv);
int cmdEdit(int argc, char** argv);
int cmdPrint(int argc, char** argv);
