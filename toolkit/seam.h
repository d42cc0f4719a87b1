// A test seam for what would block a test or reach outside the program: a modal
// box, a dialog, the desktop shell. While a test holds a Tseamscope on it, each
// request is recorded instead of carried out and answered from a queue; when the
// scope ends the real behaviour is back.
#pragma once

#include <QList>

#include <utility>

template <typename Request, typename Answer = bool>
class Tseam
{
public:
    bool active() const { return m_active; }

    // Records the request; the next queued answer, or Answer{} when none is left.
    Answer answer(Request request)
    {
        m_requests.append(std::move(request));
        return m_answers.isEmpty() ? Answer{} : m_answers.takeFirst();
    }

    void queueanswer(Answer answer) { m_answers.append(std::move(answer)); }
    // The requests recorded since the last call.
    QList<Request> takerequests() { return std::exchange(m_requests, {}); }

    void start()
    {
        m_active = true;
        m_requests.clear();
        m_answers.clear();
    }
    void stop()
    {
        m_active = false;
        m_requests.clear();
        m_answers.clear();
    }

private:
    bool m_active = false;
    QList<Request> m_requests;
    QList<Answer> m_answers;
};

// Holds a seam in test mode for as long as it lives.
template <typename Seam>
class Tseamscope
{
public:
    explicit Tseamscope(Seam &seam) : m_seam(seam) { m_seam.start(); }
    ~Tseamscope() { m_seam.stop(); }
    Tseamscope(const Tseamscope &) = delete;
    Tseamscope &operator=(const Tseamscope &) = delete;

    Seam *operator->() const { return &m_seam; }

private:
    Seam &m_seam;
};

template <typename Seam>
Tseamscope(Seam &) -> Tseamscope<Seam>;
