#pragma once

#include <QString>

#include <string>

// One player as the Players dock lists them: the table's key and the name
// as the list shows it, with their counts.
struct SPlayerLine
{
    std::string key;
    QString name;
    int games = 0;
    int wins = 0;
    int losses = 0;
    int noWinner = 0;
    int firstYear = 0; // 0: no dated game
    int lastYear = 0;
};

// One opponent of the player whose record shows.
struct SOpponentLine
{
    std::string key;
    QString name;
    int games = 0;
    int wins = 0; // the player's wins against them
    int losses = 0;
    QString lastGame; // the date of their last game together, as recorded
};

// Games, wins and losses of a player with one colour.
struct SColourLine
{
    int games = 0;
    int wins = 0;
    int losses = 0;
};
