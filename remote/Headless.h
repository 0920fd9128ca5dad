#pragma once

/// True when the command line asks for the headless program (--headless).
bool IsHeadless(int argc, char* argv[]);
/// The headless program: a Qt Core application serving SCPI over the generators found, until
/// SIGINT or SIGTERM. Options: --headless, --scpi[=PORT] (5025; 0 picks a free port),
/// --listen=ADDRESS (127.0.0.1), --allow=ADDR[/PREFIX][,...] (the clients admitted; needed to
/// listen beyond loopback). Returns the exit code.
int RunHeadless(int argc, char* argv[]);
