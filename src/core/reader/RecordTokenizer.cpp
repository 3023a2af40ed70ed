#include "reader/RecordTokenizer.h"

namespace {
constexpr int kEnd = CTextStream::kEnd;
} // namespace

ERecordToken CRecordTokenizer::Next()
{
    m_idLetters = 0;
    bool letter = false;
    for (;;) {
        const int c = m_stream.Peek();
        if (c == kEnd)
            return letter ? ERecordToken::Identifier : ERecordToken::End;
        if (PastLimit())
            return ERecordToken::TooLarge;
        switch (c) {
        case '[':
        case ';':
        case '(':
        case ')':
            // The identifier before the token goes first; the token stays
            // the look-ahead for the next call.
            if (letter)
                return ERecordToken::Identifier;
            m_stream.Get();
            if (c == '[')
                return ReadValue();
            return c == ';' ? ERecordToken::Semicolon : c == '(' ? ERecordToken::Open : ERecordToken::Close;
        default:
            break;
        }
        if (c >= 'A' && c <= 'Z') {
            letter = true;
            if (m_idLetters < kMaxIdLetters)
                m_id[m_idLetters++] = static_cast<char>(c);
        } else if (c >= 'a' && c <= 'z') {
            letter = true;
        }
        m_stream.Get();
    }
}

ERecordToken CRecordTokenizer::ReadValue()
{
    // A line break after a backslash stays in the value; nothing else of
    // the value is changed.
    m_value.clear();
    for (;;) {
        const std::uint64_t position = m_stream.Position();
        if (position < m_limit)
            m_stream.TakePlainRun(m_value, ']', '\\', m_limit - position);
        int c = m_stream.Peek();
        if (c == kEnd)
            return ERecordToken::ValueCutOff;
        if (PastLimit())
            return ERecordToken::TooLarge;
        m_stream.Get();
        if (c == ']')
            return ERecordToken::Value;
        if (c == '\\') {
            c = m_stream.Peek();
            if (c == kEnd)
                return ERecordToken::ValueCutOff;
            if (PastLimit())
                return ERecordToken::TooLarge;
            m_stream.Get();
        }
        m_value.push_back(static_cast<char>(c));
    }
}

int SkipPast(CTextStream& stream, int ch)
{
    for (;;) {
        const int c = stream.Get();
        if (c == kEnd)
            return kEnd;
        if (c == ch)
            return stream.Peek();
    }
}
