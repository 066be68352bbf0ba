"""End-to-end harness: a private X server, D-Bus session and accessibility bus for the real
program, and helpers to drive it as a user or a screen reader would."""
