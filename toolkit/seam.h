// A test seam for what would block a test or reach outside the program: a modal
// box, a dialog, the desktop shell. While a test holds a Tseamscope on it, each
// request is built as it would be shown, recorded instead of carried out and, for
// a dialog, answered from a queue. What a test leaves behind (a recorded request
// it never read, an answer it never used, a dialog it gave no answer) is a fault:
// takeleftovers() hands it to the test, and a scope that ends with it aborts.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <type_traits>
#include <utility>

// Answer void: the request is only recorded (boxes, the shell), and each one must
// be read. Otherwise each request takes the next queued answer, and each queued
// answer must be taken.
template <typename Request, typename Answer = void>
class Tseam
{
    static constexpr bool answered = !std::is_void_v<Answer>;
    struct noanswer
    {
    };
    using stored = std::conditional_t<answered, Answer, noanswer>;

public:
    struct state
    {
        QList<Request> requests;
        QList<stored> answers;
        int unanswered = 0;
    };

    explicit Tseam(const char *name) : m_name(QString::fromLatin1(name)) {}
    Tseam(const Tseam &) = delete;
    Tseam &operator=(const Tseam &) = delete;

    bool active() const { return m_depth > 0; }

    void record(Request request)
        requires(!answered)
    {
        m_state.requests.append(std::move(request));
    }

    // Records the request; the next queued answer, or Answer{} (and a fault) when
    // the test queued none.
    Answer answer(Request request)
        requires(answered)
    {
        m_state.requests.append(std::move(request));
        if (m_state.answers.isEmpty()) {
            ++m_state.unanswered;
            return Answer{};
        }
        return m_state.answers.takeFirst();
    }

    void queueanswer(stored answer)
        requires(answered)
    {
        m_state.answers.append(std::move(answer));
    }

    // The requests recorded since the last call.
    QList<Request> takerequests() { return std::exchange(m_state.requests, {}); }

    // What the test left behind, one line per fault; the seam forgets it.
    QStringList takeleftovers()
    {
        state left = std::exchange(m_state, {});
        QStringList faults;
        if constexpr (answered) {
            if (!left.answers.isEmpty())
                faults.append(QStringLiteral("%1: %2 queued answer(s) never used").arg(m_name).arg(left.answers.size()));
            if (left.unanswered > 0)
                faults.append(QStringLiteral("%1: %2 shown with no queued answer").arg(m_name).arg(left.unanswered));
        } else {
            if (!left.requests.isEmpty())
                faults.append(QStringLiteral("%1: %2 request(s) never read").arg(m_name).arg(left.requests.size()));
        }
        return faults;
    }

    // A scope inside another starts empty and gives the enclosing one back its own
    // requests and answers when it ends.
    state open()
    {
        ++m_depth;
        return std::exchange(m_state, {});
    }
    QStringList close(state outer)
    {
        const QStringList faults = takeleftovers();
        m_state = std::move(outer);
        --m_depth;
        return faults;
    }

private:
    QString m_name;
    int m_depth = 0;
    state m_state;
};

// Holds a seam in test mode for as long as it lives.
template <typename Seam>
class Tseamscope
{
public:
    explicit Tseamscope(Seam &seam) : m_seam(seam), m_outer(seam.open()) {}
    ~Tseamscope()
    {
        // A test reads its leftovers before this; one that did not is told here.
        const QStringList faults = m_seam.close(std::move(m_outer));
        if (!faults.isEmpty())
            qFatal("a test left a seam unclean: %s", qPrintable(faults.join(QStringLiteral("; "))));
    }
    Tseamscope(const Tseamscope &) = delete;
    Tseamscope &operator=(const Tseamscope &) = delete;

private:
    Seam &m_seam;
    typename Seam::state m_outer;
};
