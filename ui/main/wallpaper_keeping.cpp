#include "ui/main/wallpaper_keeping.h"

#include "wallpaper/core/environment.h"
#include "wallpaper/keeping/recipe_file.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace tidepool {

namespace {

// The command's words, in the application's language.
QString Said(const char* japanese) {
    return QCoreApplication::translate("tidepool::KeepWallpaperCommand", japanese);
}

// The caption when the wallpaper is not kept, and when it is: a check mark and what is so, in
// no more room, since the window's width is fixed and the menu bar hides what does not fit.
QString Caption(bool kept) {
    return kept ? Said(QT_TRANSLATE_NOOP("tidepool::KeepWallpaperCommand", "✓壁紙保持(&K)"))
                : Said(QT_TRANSLATE_NOOP("tidepool::KeepWallpaperCommand", "壁紙を保つ(&K)"));
}

// What went wrong, in the window's words; the detail as the system gave it follows.
QString FailureText(KeepReport::Failure failure) {
    switch (failure) {
    case KeepReport::Failure::None:
        return {};
    case KeepReport::Failure::NoFolder:
        return Said(QT_TRANSLATE_NOOP("tidepool::KeepWallpaperCommand",
                                      "設定を保存するフォルダーが分かりません。"));
    case KeepReport::Failure::EntryNotSaved:
        return Said(QT_TRANSLATE_NOOP("tidepool::KeepWallpaperCommand",
                                      "ログイン時に起動する設定を書き込めませんでした。"));
    case KeepReport::Failure::NoFollower:
        return Said(QT_TRANSLATE_NOOP(
            "tidepool::KeepWallpaperCommand",
            "画面の変化を見守るプログラム (tidepool-render) を起動または終了できませんでした。"));
    }
    return {};
}

// A message: what did not happen, then why, with the system's own words in brackets.
std::string Message(const QString& headline, const QString& why, const std::string& detail) {
    return (headline + QStringLiteral("\n\n") +
            Said(QT_TRANSLATE_NOOP("tidepool::KeepWallpaperCommand", "・%1\n（%2）"))
                .arg(why, QString::fromStdString(detail)))
        .toStdString();
}

std::string KeepFailedMessage(const WallpaperOutcome& outcome) {
    const QString headline = Said(QT_TRANSLATE_NOOP(
        "tidepool::KeepWallpaperCommand", "壁紙は設定しましたが、保つことはできませんでした。"));
    if (!outcome.notRemembered.empty())
        return Message(headline,
                       Said(QT_TRANSLATE_NOOP("tidepool::KeepWallpaperCommand",
                                              "壁紙の設定を保存できませんでした。")),
                       outcome.notRemembered);
    return Message(headline, FailureText(outcome.kept->failure), outcome.kept->error);
}

std::string ForgetFailedMessage(const KeepReport& report) {
    return Message(Said(QT_TRANSLATE_NOOP("tidepool::KeepWallpaperCommand",
                                          "壁紙を保つのをやめられませんでした。")),
                   FailureText(report.failure), report.error);
}

} // namespace

WallpaperMemory DesktopWallpaperMemory(const std::filesystem::path& programFolder) {
    const std::filesystem::path renderer = RendererBeside(programFolder);
    WallpaperMemory memory;
    memory.remember = [](const WallpaperRecipe& recipe) {
        const RecipeLocation location = RecipeFile(ProcessEnvironment());
        if (!location.error.empty())
            return location.error;
        return SaveRecipe(location.file, recipe).error();
    };
    memory.keep = [renderer](std::shared_ptr<const Cutoff> cutoff) {
        return KeepWallpaper(ProcessEnvironment(), renderer,
                             Deadline(kKeepTimeLimit, std::move(cutoff)));
    };
    memory.forget = [](std::shared_ptr<const Cutoff> cutoff) {
        return ForgetWallpaper(ProcessEnvironment(), Deadline(kKeepTimeLimit, std::move(cutoff)));
    };
    memory.kept = [] { return WallpaperKept(ProcessEnvironment()); };
    return memory;
}

WallpaperOutcome RememberApplication(WallpaperReport report, const WallpaperMemory& memory,
                                     const WallpaperRecipe& recipe, bool keep,
                                     std::shared_ptr<const Cutoff> cutoff) {
    WallpaperOutcome outcome{std::move(report), keep, "", std::nullopt};
    if (!outcome.report.applied())
        return outcome;
    outcome.notRemembered = memory.remember(recipe);
    // A follower would put back the recipe saved before, not this wallpaper.
    if (keep && outcome.notRemembered.empty())
        outcome.kept = memory.keep(std::move(cutoff));
    return outcome;
}

KeepWallpaperCommand::KeepWallpaperCommand(QMenuBar* bar, WallpaperMemory memory,
                                           std::function<bool()> applyAndKeep,
                                           std::function<void(std::string_view)> showMessage,
                                           QObject* parent)
    : QObject(parent), memory_(std::move(memory)), applyAndKeep_(std::move(applyAndKeep)),
      showMessage_(std::move(showMessage)) {
    action_ = bar->addAction(Caption(false));
    action_->setObjectName(QStringLiteral("MNU_KeepWallpaper"));
    action_->setCheckable(true);
    action_->setEnabled(false);
    connect(action_, &QAction::triggered, this, &KeepWallpaperCommand::triggered);

    reading_ = new QFutureWatcher<bool>(this);
    connect(reading_, &QFutureWatcher<bool>::finished, this, [this] { show(reading_->result()); });
    reading_->setFuture(QtConcurrent::run(memory_.kept));
    forgetting_ = new QFutureWatcher<KeepReport>(this);
    connect(forgetting_, &QFutureWatcher<KeepReport>::finished, this,
            &KeepWallpaperCommand::forgetFinished);
}

int KeepWallpaperCommand::menuBarWidth() const {
    const QString shown = action_->text();
    // The action was made by the menu bar it sits in.
    const auto* bar = qobject_cast<const QMenuBar*>(action_->parent());
    int width = 0;
    for (const bool kept : {false, true}) {
        action_->setText(Caption(kept));
        width = std::max(width, bar->sizeHint().width());
    }
    action_->setText(shown);
    return width;
}

void KeepWallpaperCommand::triggered(bool checked) {
    action_->setEnabled(false);
    if (!checked) {
        forgetting_->setFuture(QtConcurrent::run(memory_.forget, cutoff_));
        return;
    }
    // Another application is under way: this one did not start, and nothing changed.
    if (!applyAndKeep_())
        show(false);
}

void KeepWallpaperCommand::applicationFinished(const WallpaperOutcome& outcome) {
    if (!outcome.keepAsked)
        return;
    // Not applied at all: the window says why; applied but not kept: this says why.
    if (outcome.report.applied() && !(outcome.kept && outcome.kept->ok()))
        showMessage_(KeepFailedMessage(outcome));
    // A follower that would not start now starts at the next login: the entry is there.
    show(outcome.kept &&
         (outcome.kept->ok() || outcome.kept->failure == KeepReport::Failure::NoFollower));
}

void KeepWallpaperCommand::forgetFinished() {
    const KeepReport report = forgetting_->result();
    if (!report.ok() && !cutoff_->requested())
        showMessage_(ForgetFailedMessage(report));
    show(report.failure == KeepReport::Failure::EntryNotSaved);
}

void KeepWallpaperCommand::endSoon(std::chrono::milliseconds within) {
    cutoff_->request(within);
}

void KeepWallpaperCommand::show(bool kept) {
    action_->setChecked(kept);
    action_->setText(Caption(kept));
    action_->setEnabled(true);
}

} // namespace tidepool
