#pragma once

// qx410ctl's commands against the in-process simulated controller: the
// runner with its output and error text caught.

#include "CtlOptions.h"
#include "CtlRunner.h"
#include "ScriptedPrompts.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <gtest/gtest.h>

#include <QStringList>
#include <QTextStream>

#include <initializer_list>

struct CtlFixture
{
    explicit CtlFixture(qx410sim::Faults faults = {})
        : controller(faults)
        , port(controller, clock)
        , out(&outText)
        , err(&errText)
    {
    }

    // Runs "qx410ctl WORDS..." and gives its exit status.
    int run(QStringList words)
    {
        words.prepend(QStringLiteral("qx410ctl"));
        const CtlOptions o = CtlOptions::parse(words);
        EXPECT_EQ(o.outcome, CtlOptions::Outcome::Run) << qPrintable(o.error);
        CtlRunner runner(port, clock, prompts, out, err);
        const int status = runner.run(o);
        out.flush();
        err.flush();
        return status;
    }

    int run(std::initializer_list<const char*> words)
    {
        QStringList list;
        for (const char* w : words)
            list << QString::fromLatin1(w);
        return run(list);
    }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    QString outText;
    QString errText;
    QTextStream out;
    QTextStream err;
};
