// Placeholder until the first window helper lands.
