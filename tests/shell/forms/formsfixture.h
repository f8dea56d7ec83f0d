// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tests share: a folder with a logged-in session, and two small
// screens built the way every screen of the system is built.
#pragma once

#include "shell/forms/recordform.h"
#include "shell/forms/reportform.h"
#include "shell/session.h"
#include "shell/startup/startup.h"
#include "support/testdatabase.h"

#include <QStringList>

#include <memory>

namespace sw::test {

// Start-up without dialogs: its messages go to the prompter.
class QuietStartup final : public StartupUi
{
public:
    explicit QuietStartup(Prompter &prompter)
        : m_prompter(prompter)
    {
    }
    Prompter &prompter() override { return m_prompter; }
    void showConfigurationDialog(const QString &) override { }
    void showUpgrade(Database &, const AppFolder &) override { }
    void processEvents() override { }

private:
    Prompter &m_prompter;
};

// An installed folder with a session logged in as `user` on `convocation`.
// Users: ADMIN (admin) and any added with addUser; convocations C26 and C25.
class LoggedInFolder
{
public:
    explicit LoggedInFolder(TestBackend backend);

    void addUser(const QString &name, const QString &password, const QString &permissions);
    // Logs in; fails the test when refused.
    void login(const QString &user, const QString &password, const QString &convocation);

    Session session;
    Database &db() { return session.db(); }
    const AppFolder &folder() const { return m_folder.folder(); }

private:
    InstalledFolder m_folder;
};

// A record screen over `masconvo`: code text_0, name text_1, date mskdt_0, active chk_0.
// The code field has an F1 lookup over the convocations.
class ExampleForm final : public RecordForm
{
    Q_OBJECT
public:
    ExampleForm(const FormContext &context, const QString &formName);

    void AEDproc(EditMode mode) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    QStringList displayed; // tag names display_record was called with

protected:
    std::optional<BoundSql> recordsetStatement() const override;

private:
    // A new code must not be there yet ("Code already exists."), an edited one must
    // ("Enter valid code."); false with the message shown and the focus in the code box.
    bool codeAccepted(EditMode mode);
};

// A report screen that remembers the operations it was asked for.
class ExampleReport final : public ReportForm
{
    Q_OBJECT
public:
    explicit ExampleReport(const FormContext &context);
    void VPSproc(const QString &operation) override { operations.append(operation); }
    QStringList operations;
};

} // namespace sw::test
