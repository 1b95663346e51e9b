#pragma once

#include "FakeCharacters.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeRandom.h"
#include "FileBytes.h"
#include "FormLabel.h"
#include "Tavola.h"
#include "Wizard.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

// A window wired to fakes, with its record folder in a fresh temporary directory.
struct TavolaHarness
{
    QTemporaryDir data;
    FakeCharacters agent;
    FakeDialogs dialogs;
    FakeProgram program;
    FakeRandom random;
    Tavola tavola{agent, dialogs, program, random};

    TavolaHarness() { qputenv("XDG_DATA_HOME", data.path().toUtf8()); }

    QString recordPath(const QString &file) const { return data.path() + QStringLiteral("/decalumo/") + file; }

    // Start-up as the program runs it, then forget what it asked so far.
    void startAs(const QString &name)
    {
        dialogs.name = name;
        random.script(3, 7);
        tavola.start();
        agent.take();
        dialogs.shown.clear();
    }

    void writeRecord(const QByteArray &score, const QByteArray &name)
    {
        QVERIFY(QDir().mkpath(data.path() + QStringLiteral("/decalumo")));
        writeBytes(recordPath(QStringLiteral("aquorvanti.txt")), score);
        writeBytes(recordPath(QStringLiteral("nquorvanti.txt")), name);
    }

    // Puts a question without going through start-up; returns what the character was asked.
    QStringList question(int factor, int tintFactor = 5)
    {
        agent.Load(Wizard::id, Wizard::file);
        agent.take();
        random.script(tintFactor, factor);
        tavola.cmdNext_Click();
        return agent.take();
    }

    void answer(const QString &text)
    {
        tavola.Text3->setFocus();
        tavola.Text3->setText(text);
        QTest::keyClick(tavola.Text3, Qt::Key_Return);
    }
};
