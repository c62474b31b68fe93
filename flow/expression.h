// The code command's formula language: one line of integer arithmetic over variables,
// character status words and game values.
//
//   C1 = C1 + 1          my.hp = my.hp - 10 * 2          tg.v2 = rand(1, 6)
//
// Words are separated by single spaces and compared whole and case-sensitively (the lists are
// in flow/expression_words.h). "C"n and "S"n are common and stage variables; a status word may
// be prefixed by an object, "my." (the running character, the default), "tg." (its target),
// "pl." (the first hero); "sys." only leaves the word to the variables, the system words and
// numbers. Anything else is a decimal number (leading digits only, so "C1=5" is the variable C1
// and "-C1" is 0).
//
// Evaluation:
// - EvalExpression replaces every parenthesis that opens a word and every "rand(a, b)" call by
//   its decimal value, innermost first, then evaluates the rest with EvalFlatExpression.
// - EvalFlatExpression makes one token per word, reading every value at once, then applies
//   "*" "/" "%", then "+" "-", then "=", each pass left to right. Arithmetic wraps as signed
//   32-bit arithmetic does (INT_MIN / -1 is INT_MIN). "=" clamps to the left word's range,
//   writes it with the word's width and gives the written value.
// - Errors show their message box (caption "エラー"), set g_bExprError and make the current
//   level 0; the enclosing text goes on. No message: "tg." without a target, a status word of
//   "sys.", an operator with no operand on one side, a left side of "=" that names no storage,
//   and the limits below. A variable or character variable outside its list and "pl." without
//   a hero are index errors (report line and shut-down, as every checked access).
// - Limits: a text of at most kExprTextMax bytes (also after a value replaced a parenthesis),
//   kExprDepthMax nested parentheses and calls, kExprTokenMax words in one flat text. Past one
//   the level fails with a report line, as do a status word of "sys.", an operator without an
//   operand and an assignment to no variable or word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class cChara;

constexpr size_t kExprTextMax = 5119;
constexpr int kExprDepthMax = 64;
constexpr size_t kExprTokenMax = 1024;

// Set by every error; cleared at the start of every code command.
extern int32_t g_bExprError;

// Evaluates one code line for the character running the command: 1, or 0 when an error was
// met (what was written before it stays). When the character's HP or SP changed, its gauges
// start with the difference. The code command (kind 37) returns this answer; the instant code
// command (instant kind 22) always returns 0, so that an item's later instant commands run.
int RunExpressionCode(const std::string& text, cChara* chara);
// A text with parentheses and calls.
int EvalExpression(const std::string& text, cChara* chara);
// A text without parentheses.
int EvalFlatExpression(const std::string& text, cChara* chara);
