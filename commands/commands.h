// The commands of the main window's pop-up menu.
#pragma once

#include "gallery/gallery.h"
#include "platform/jobs.h"
#include "platform/main_window.h"
#include "platform/platform.h"

class QThreadPool;

/** What every command works on. */
struct CommandEnv {
    Gallery& gallery;
    IMainWindow& window;
    Platform& platform;
    /** Where files load off the window's thread; its owner waits for it before the
        platform goes. Without one, a command waits for its own loads. */
    QThreadPool* loads = nullptr;
    /** Where the slow part of Save, Save All, Print and Copy runs; none runs it in place. */
    IJobs* jobs = nullptr;
};

/** Runs work through env's jobs, or in place, and hands done on this thread what
    it ended with: its value, or the failure, never a value it did not deliver. */
template <class T>
void runJob(CommandEnv& env, std::function<T()> work, std::function<void(JobOutcome<T>&)> done) {
    InlineJobs inPlace;
    startJob<T>(env.jobs ? *env.jobs : static_cast<IJobs&>(inPlace), std::move(work),
                std::move(done));
}

/** The cause of a job's failure in the user's words, translated where the program
    knows it: memory running out, a system error, or what the failure says of itself. */
QString failureReason(const JobFailure& failure);

void mnuFileSave_Click(CommandEnv& env);
void mnuFileSaveAll_Click(CommandEnv& env);
void mnuFileOpen_Click(CommandEnv& env);
void mnuFilePrint_Click(CommandEnv& env);
void mnuImageCopy_Click(CommandEnv& env);
void mnuImageDelete_Click(CommandEnv& env);
void mnuImageClear_Click(CommandEnv& env);
void mnuFileBrowse_Click(CommandEnv& env);
void mnuAbout_Click(CommandEnv& env);

/** Runs the command that a menu entry or key names. */
void runCommand(Command command, CommandEnv& env);
