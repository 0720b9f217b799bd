# cmake -DIN=FILE -DOUT=FILE -DVERSION=X.Y.Z -P CrlfText.cmake
# Copies a text file with Windows line ends (CR LF), @VERSION@ filled in.
cmake_minimum_required(VERSION 3.25)
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
