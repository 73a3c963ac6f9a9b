int RunVesk(int, char**);
